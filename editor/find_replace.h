#pragma once
#include <QString>
#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace korvex::platform {
class Dialogs;
}

namespace korvex::editor {

class EditorPanes;

/// The editor's find and replace bar under the script, and its commands: Find and Replace
/// (Ctrl+R) opens it with the selection to look for, Find Next (F6) and Find Previous
/// (Shift+F6) go on from the caret and wrap round, Go to Line (Ctrl+G) asks for a line and an
/// optional column. None of these keys is one of the editor's text commands.
class FindReplaceBar : public QWidget {
    Q_OBJECT
public:
    FindReplaceBar(EditorPanes& panes, platform::Dialogs& dialogs, QWidget* window);

    /// The commands for the Search menu, in its order.
    QList<QAction*> actions() const { return commands_; }

    /// Opens the bar with the shown pane's selection (one line of it) to look for.
    void open();
    /// Hides the bar and gives the pane the focus back.
    void dismiss();
    /// Selects the next (or previous) place of the text looked for; false when there is none.
    bool findNext(bool backwards = false);
    /// Replaces the found text under the selection, then finds the next place.
    void replace();
    /// Replaces every place in one undo step; tells how many in the bar.
    int replaceAll();
    void goToLine();

signals:
    /// The bar was shown or hidden.
    void shownChanged();

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool selectionIsFound(QPlainTextEdit* pane) const;

    EditorPanes& panes_;
    platform::Dialogs& dialogs_;
    QLineEdit* findText_;
    QLineEdit* replaceText_;
    QCheckBox* matchCase_;
    QLabel* result_;
    QList<QAction*> commands_;
};

}  // namespace korvex::editor
