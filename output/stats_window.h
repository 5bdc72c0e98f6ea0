#pragma once
#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace korvex::ui {

struct SharedState;

/// Four figures about the text of a generated-text window: characters, words, alternatives
/// and variants. A snapshot: the opener fills it in once and it never follows the text.
class StatsWindow : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Stats");

    /// Loads the window: look of the PreView carrier, outer size, one more open window, and
    /// the timer that shows the figures 100 ms later.
    explicit StatsWindow(SharedState& state, QWidget* parent = nullptr);

    /// The figures as text, read when the timer fires, so the opener sets them after showing
    /// the window.
    void setFigures(const QString& characters, const QString& words, const QString& items,
                    const QString& variants);

signals:
    /// The four lines are in the text box.
    void figuresShown();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showFigures();
    /// The text at 15, 15 twips with the client area's size.
    void layoutText();

    SharedState& state_;
    QPlainTextEdit* text_;
    QLabel* wordsLabel_;
    QLabel* charactersLabel_;
    QLabel* itemsLabel_;
    QLabel* variantsLabel_;
    QTimer* showTimer_;
    bool sized_ = false;
    bool closed_ = false;
};

}  // namespace korvex::ui
