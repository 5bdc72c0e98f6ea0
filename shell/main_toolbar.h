#pragma once
#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QPushButton;

namespace korvex::ui {

/// The main window's toolbar: square picture buttons with tooltips, a left group
/// from the bar's left edge and a right group in the panel, which stays 120 twips
/// before the bar's right edge.
class MainToolBar : public QWidget {
    Q_OBJECT
public:
    enum class Group { Left, Right };
    /// What a button does with the keyboard focus before it runs its command.
    enum class Focus {
        ToBar,  ///< hands the focus to the bar, so the button does not keep it
        Keep,   ///< leaves it where the click put it
    };

    explicit MainToolBar(QWidget* parent = nullptr);

    /// Appends a button to `group`; buttons sit 600 twips apart in the order they are added.
    QPushButton* addButton(Group group, const QString& name, const QString& toolTip,
                           const QIcon& icon, Focus focus, std::function<void()> command);

    /// The buttons shown only while a child window is open.
    void setArrangementButtons(QList<QPushButton*> buttons);
    void setArrangementButtonsVisible(bool visible);

    /// The bar's colour, and the right-hand panel's (none: the system's window colour).
    void setColours(const QColor& bar, const std::optional<QColor>& panel);

    QWidget* rightPanel() const { return panel_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePanel();

    QWidget* panel_;
    int leftCount_ = 0;
    int rightCount_ = 0;
    QList<QPushButton*> arrangementButtons_;
};

/// Toolbar pictures the desktop's styles have no fitting icon for, drawn here so the program
/// needs no image files.
enum class Picture { Cascade, Horizontal, Vertical, WebSite };
QIcon drawnIcon(Picture picture);

}  // namespace korvex::ui
