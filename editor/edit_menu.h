#pragma once
#include <QList>
#include <QMenu>
#include <QTextCursor>

class QPlainTextEdit;

namespace korvex::platform {
class Dialogs;
}

namespace korvex::editor {

class EditorPanes;

/// The editor's Edit menu `EditX`, also its right-click menu: the text commands, the
/// clipboard keys and the caret commands over the shown pane, with the "Text" submenu
/// `TextXMod`. Every change goes through the pane's cursor, so each is one undo step and a
/// large script is never reloaded whole.
class EditMenu : public QMenu {
    Q_OBJECT
public:
    /// `window` owns the menu and the "Select one or more lines" box.
    EditMenu(EditorPanes& panes, platform::Dialogs& dialogs, QWidget* window);

    /// The items that carry a shortcut, the submenu's included.
    const QList<QAction*>& shortcutActions() const { return shortcutActions_; }

private:
    QAction* addItem(QMenu* menu, const char* name, const char* caption,
                     const QKeySequence& shortcut, void (EditMenu::*command)());
    void addSeparator(const char* name);
    /// The pane with the focus, or the shown one when the focus is elsewhere (on a menu).
    QPlainTextEdit* focusedPane() const;

    /// Replaces the selection by `change` of it; a case command leaves an empty one alone.
    void replaceWith(QString (*change)(const QString&));
    void changeCase(QString (*change)(const QString&));
    /// The line-wise commands: nothing selected is refused with a message.
    void changeLines(QString (*change)(const QString&));

    void addFourSpaces();
    void addBlock();
    void insertSpace();
    void insertBreak();
    void removeInitialSpaces();
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void selectAll();
    void titleCase();
    void splitText();
    void upperCase();
    void lowerCase();
    void invertCase();
    void goToTop();
    void goToEnd();
    void moveCaret(QTextCursor::MoveOperation where);

    EditorPanes& panes_;
    platform::Dialogs& dialogs_;
    QWidget* window_;
    QList<QAction*> shortcutActions_;
};

}  // namespace korvex::editor
