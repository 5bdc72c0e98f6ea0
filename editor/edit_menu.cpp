#include "editor/edit_menu.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "editor/editor_panes.h"
#include "editor/text_commands.h"
#include "platform/dialogs.h"
#include "widgets/program_title.h"
#include "widgets/window_parts.h"

namespace korvex::editor {
using ui::kProgramTitle;

EditMenu::EditMenu(EditorPanes& panes, platform::Dialogs& dialogs, QWidget* window)
    : QMenu(QStringLiteral("Edit"), window), panes_(panes), dialogs_(dialogs), window_(window) {
    setObjectName(QStringLiteral("EditX"));
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    addItem(this, "Add4SpacesX", "&Add 4 Spaces", ctrl(Qt::Key_Q), &EditMenu::addFourSpaces);
    addItem(this, "InsertTagX", "A&dd {...}", ctrl(Qt::Key_F), &EditMenu::addBlock);
    addItem(this, "InsertSPX", "Add \\&s\\", ctrl(Qt::Key_S), &EditMenu::insertSpace);
    addItem(this, "InsertBRX", "Add \\&b\\", ctrl(Qt::Key_B), &EditMenu::insertBreak);
    addSeparator("LN9");
    addItem(this, "RemoveInitialSpacesX", "&Remove Initial Spaces", {},
            &EditMenu::removeInitialSpaces);
    addSeparator("LN1");
    addItem(this, "CancelX", "C&ancel", {}, &EditMenu::undo);
    // Ctrl+Y, the usual other key, is Split Text here.
    addItem(this, "RedoX", "Re&do", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
            &EditMenu::redo);
    addSeparator("LN6");
    addItem(this, "CutX", "&Cut", {}, &EditMenu::cut);
    addItem(this, "CopyX", "C&opy", {}, &EditMenu::copy);
    addItem(this, "PasteX", "&Paste", {}, &EditMenu::paste);
    addItem(this, "DeleteX", "&Delete", {}, &EditMenu::deleteSelection);
    addSeparator("LN5");
    addItem(this, "SelectAllX", "&Select All", {}, &EditMenu::selectAll);
    addSeparator("LN2");

    QMenu* text = addMenu(QStringLiteral("Text"));
    text->setObjectName(QStringLiteral("TextXMod"));
    addItem(text, "TitleCaseX", "&Title Case", ctrl(Qt::Key_T), &EditMenu::titleCase);
    addItem(text, "SplitTextX", "&Split Text", ctrl(Qt::Key_Y), &EditMenu::splitText);
    addItem(text, "UpperCaseX", "&UpperCase", ctrl(Qt::Key_F1), &EditMenu::upperCase);
    addItem(text, "LowerCaseX", "&LowerCase", ctrl(Qt::Key_F2), &EditMenu::lowerCase);
    addItem(text, "InvertCaseX", "&Invert Case", ctrl(Qt::Key_F3), &EditMenu::invertCase);

    addSeparator("LN7");
    addItem(this, "GotoUPX", "Go to UP", ctrl(Qt::Key_U), &EditMenu::goToTop);
    addItem(this, "GotoDownX", "Go to Down", ctrl(Qt::Key_D), &EditMenu::goToEnd);
    addSeparator("LN3");
}

QAction* EditMenu::addItem(QMenu* menu, const char* name, const char* caption,
                           const QKeySequence& shortcut, void (EditMenu::*command)()) {
    QAction* action =
        ui::namedAction(this, QString::fromLatin1(name), QString::fromLatin1(caption), shortcut);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, command);
    if (!shortcut.isEmpty()) {
        shortcutActions_ << action;
    }
    return action;
}

void EditMenu::addSeparator(const char* name) {
    QMenu::addSeparator()->setObjectName(QString::fromLatin1(name));
}

void EditMenu::replaceWith(QString (*change)(const QString&)) {
    panes_.replaceSelection(change(panes_.selectedText()));
}

void EditMenu::changeCase(QString (*change)(const QString&)) {
    if (!panes_.shown()->textCursor().hasSelection()) {
        return;
    }
    replaceWith(change);
}

void EditMenu::changeLines(QString (*change)(const QString&)) {
    panes_.focusShown();
    if (!panes_.shown()->textCursor().hasSelection()) {
        dialogs_.information(window_, kProgramTitle, QStringLiteral("Select one or more lines"));
        return;
    }
    replaceWith(change);
}

void EditMenu::addFourSpaces() {
    changeLines(&editor::addFourSpaces);
}

void EditMenu::removeInitialSpaces() {
    changeLines(&editor::removeInitialSpaces);
}

void EditMenu::addBlock() {
    replaceWith(&editor::addBlock);
}

void EditMenu::insertSpace() {
    panes_.replaceSelection(kSpaceMarker);
}

void EditMenu::insertBreak() {
    panes_.replaceSelection(kBreakMarker);
}

void EditMenu::undo() {
    focusedPane()->undo();
}

void EditMenu::redo() {
    focusedPane()->redo();
}

void EditMenu::cut() {
    focusedPane()->cut();
}

void EditMenu::copy() {
    focusedPane()->copy();
}

void EditMenu::paste() {
    focusedPane()->paste();
}

QPlainTextEdit* EditMenu::focusedPane() const {
    QPlainTextEdit* pane = panes_.paneWithFocus();
    return pane != nullptr ? pane : panes_.shown();
}

void EditMenu::deleteSelection() {
    if (panes_.shown()->textCursor().hasSelection()) {
        panes_.replaceSelection(QString());
    }
}

void EditMenu::selectAll() {
    panes_.shown()->selectAll();
    panes_.focusShown();
}

void EditMenu::titleCase() {
    changeCase(&editor::titleCase);
}

void EditMenu::splitText() {
    replaceWith(&editor::splitText);
}

void EditMenu::upperCase() {
    changeCase(&editor::upperCase);
}

void EditMenu::lowerCase() {
    changeCase(&editor::lowerCase);
}

void EditMenu::invertCase() {
    changeCase(&editor::invertCase);
}

void EditMenu::goToTop() {
    moveCaret(QTextCursor::Start);
}

void EditMenu::goToEnd() {
    moveCaret(QTextCursor::End);
}

// The caret moves without the pane taking the focus, and the pane scrolls to it.
void EditMenu::moveCaret(QTextCursor::MoveOperation where) {
    QPlainTextEdit* pane = panes_.shown();
    QTextCursor caret = pane->textCursor();
    caret.movePosition(where);
    pane->setTextCursor(caret);
    pane->ensureCursorVisible();
}

}  // namespace korvex::editor
