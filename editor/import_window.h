#pragma once
#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;
class QToolButton;

namespace korvex::ui {
struct SharedState;
}

namespace korvex::editor {

/// The import window: the user pastes plain text, Run puts an instruction of the
/// user's in front of every line (four spaces by default, which makes indented script lines),
/// and Copy All hands the result on for pasting into an editor. It never writes a project.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Import from Text");
    static inline const QString kPlaceholder =
        QStringLiteral("Paste text here e click on first button.\r\n");
    static inline const QString kInstructionCaption =
        QStringLiteral("Type a Instruction for Initial Line");
    static inline const QString kInstructionPrompt = QStringLiteral("Instruction:");
    static inline const QString kCopiedNote = QStringLiteral("Copied in memory.");
    /// Text colour of the placeholder, and of everything else.
    static constexpr QColor kPlaceholderColour{192, 192, 192};
    static constexpr QColor kTextColour{0, 0, 64};

    /// Loads the window: one more open window, outer size, the placeholder in grey.
    explicit ImportWindow(ui::SharedState& state, QWidget* parent = nullptr);

    /// Asks for the instruction and puts it in front of every line of the text box; Cancel
    /// changes nothing.
    void run();
    /// Selects the whole text and puts it on the clipboard, with the note for 1.5 s; a text
    /// of nothing but spaces is not copied.
    void copyAll();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TextBox;

    void createToolBar();
    /// The toolbar strip along the top, the text box below it over the rest of the client area.
    void layoutWindow();
    /// The copy note's end: the selection is copied once more and the note goes.
    void endCopy();

    ui::SharedState& state_;
    TextBox* text_;
    QWidget* toolBar_;
    QToolButton* runButton_;
    QToolButton* copyAllButton_;
    QLabel* copiedNote_;
    QTimer* copyTimer_;  // TextCopy
    bool sized_ = false;
    bool closed_ = false;
};

}  // namespace korvex::editor
