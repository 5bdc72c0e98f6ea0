// The editor's tools beyond its text commands: find and replace, go to line, the status line,
// the unsaved marker, matching braces, redo, the reload offer and a new project's caret.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextBlock>

#include "editor/file_watch.h"
#include "editor/find_replace.h"
#include "store/projects.h"
#include "tests/editor/editor_program.h"
#include "tests/support/qt_test_main.h"

using namespace korvex::platform;
using korvex::editor::EditorWindow;
using korvex::editor::FileWatch;
using korvex::testing::EditorProgram;
using korvex::testing::pane;
using korvex::testing::paneText;

namespace {

QString statusText(QWidget* window) {
    return window->findChild<QLabel*>("StatusLine")->text();
}

void placeCaret(QPlainTextEdit* text, int position) {
    QTextCursor caret(text->document());
    caret.setPosition(position);
    text->setTextCursor(caret);
}

}  // namespace

class EditorToolsTest : public QObject {
    Q_OBJECT
private slots:
    void findAndReplace() {
        EditorProgram program;
        EditorWindow* window = program.open("Find", "red blue Red\r\n");
        QPlainTextEdit* text = pane(window);
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTest::keyClick(text, Qt::Key_R, Qt::ControlModifier);
        auto* find = window->findChild<QLineEdit*>("FindText");
        QVERIFY(find->isVisible() && find->hasFocus());
        QTest::keyClicks(find, "red");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(text->textCursor().selectionStart(), 0);
        QTest::keyClick(text, Qt::Key_F6);  // on, regardless of case
        QCOMPARE(text->textCursor().selectionStart(), 9);
        QTest::keyClick(text, Qt::Key_F6);  // round to the start
        QCOMPARE(text->textCursor().selectionStart(), 0);

        window->findChild<QLineEdit*>("ReplaceText")->setText("green");
        window->findChild<QPushButton*>("ReplaceAllButton")->click();
        QCOMPARE(paneText(text), QString("green blue green"));
        QCOMPARE(window->findChild<QLabel*>("FindResult")->text(), QString("2 replaced"));
        QVERIFY(window->isModified());
        text->undo();  // one step takes every replacement back
        QCOMPARE(paneText(text), QString("red blue Red"));

        find->setText("violet");
        window->findChild<QPushButton*>("FindNextButton")->click();
        QCOMPARE(window->findChild<QLabel*>("FindResult")->text(), QString("Not found"));
        // Esc in the bar closes the bar, not the window.
        find->setFocus();
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!find->isVisible());
        QVERIFY(window->isVisible());
        QVERIFY(text->hasFocus());
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void goToLineAndTheStatusLine() {
        EditorProgram program;
        EditorWindow* window = program.open("Lines", "one\r\ntwo\r\nthree\r\n");
        QCOMPARE(statusText(window), QString("Line 1, Column 1"));
        program.dialogs.expectInput("3:4").expectInput("99").expectInput("x");
        QAction* goToLine = window->findChild<QAction*>("GoToLineX");
        goToLine->trigger();
        QCOMPARE(statusText(window), QString("Line 3, Column 4"));
        goToLine->trigger();  // past the end: the last line
        QCOMPARE(pane(window)->textCursor().blockNumber(), 2);
        goToLine->trigger();  // not a number: the caret stays
        QCOMPARE(pane(window)->textCursor().blockNumber(), 2);
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().at(0).text,
                 QString("Go to line (1 to 3), or line:column:"));
    }

    void theFrameShowsUnsavedChanges() {
        EditorProgram program;
        EditorWindow* window = program.open("Marked", "a\r\n");
        QMdiSubWindow* frame = program.area.subWindowList().at(0);
        QCOMPARE(frame->windowTitle(), QString("Marked"));
        pane(window)->insertPlainText("b");
        QCOMPARE(frame->windowTitle(), QString("Marked *"));
        QVERIFY(statusText(window).endsWith("Modified"));
        QCOMPARE(window->windowTitle(), QString("Marked"));  // the project's name stays
        window->save();
        QCOMPARE(frame->windowTitle(), QString("Marked"));
        QVERIFY(!statusText(window).endsWith("Modified"));
    }

    void matchingBracesAreMarked() {
        EditorProgram program;
        EditorWindow* window = program.open("Braces", "Hi {a|{b}} end\r\n");
        QPlainTextEdit* text = pane(window);
        placeCaret(text, 3);
        QTRY_COMPARE(text->extraSelections().size(), 2);
        QCOMPARE(text->extraSelections().at(1).cursor.selectionStart(), 9);
        placeCaret(text, 13);
        QTRY_COMPARE(text->extraSelections().size(), 0);
    }

    void redoInTheEditMenu() {
        EditorProgram program;
        EditorWindow* window = program.open("Redo", "a\r\n");
        QPlainTextEdit* text = pane(window);
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "bc");
        window->findChild<QAction*>("CancelX")->trigger();
        QCOMPARE(paneText(text), QString("a"));
        window->findChild<QAction*>("RedoX")->trigger();
        QCOMPARE(paneText(text), QString("abc"));
        text->undo();
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(paneText(text), QString("abc"));
    }

    void noTwoCommandsShareAKey() {
        EditorProgram program;
        EditorWindow* window = program.open("Keys");
        QSet<QKeySequence> seen;
        for (const QAction* action : window->findChildren<QAction*>()) {
            for (const QKeySequence& key : action->shortcuts()) {
                QVERIFY2(!seen.contains(key), qPrintable(key.toString()));
                seen.insert(key);
            }
        }
        // The text commands keep their keys.
        QCOMPARE(window->findChild<QAction*>("InsertSPX")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(window->findChild<QAction*>("InsertTagX")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_F));
    }

    void aChangeOnDiskIsOfferedForReload() {
        EditorProgram program;
        EditorWindow* window = program.open("Shared", "mine\r\n");
        auto* bar = window->findChild<FileWatch*>("ReloadBar");
        // The window's own save is not someone else's change.
        window->save();
        QTest::qWait(3 * FileWatch::kSettleMs);
        QVERIFY(bar->isHidden());

        pane(window)->insertPlainText("!");
        program.folder.write("Projects/Shared.ini", "theirs\r\n");
        QTRY_VERIFY(!bar->isHidden());
        QVERIFY(window->findChild<QLabel*>("ReloadText")->text().contains("loses the changes"));
        window->findChild<QPushButton*>("ReloadButton")->click();
        QTRY_COMPARE(paneText(pane(window)), QString("theirs"));
        QVERIFY(bar->isHidden());
        QVERIFY(!window->isModified());
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void aNewProjectOpensWhereTheUserWrites() {
        EditorProgram program;
        const std::string text = korvex::store::newProjectText("Fresh", "1/2/2024", "10:00");
        EditorWindow* window = program.open("Fresh", text.c_str());
        QPlainTextEdit* typed = pane(window);
        QCOMPARE(typed->textCursor().blockNumber(), 2);
        QTRY_VERIFY(typed->hasFocus());
        QTest::keyClicks(typed, "Hello");
        QCOMPARE(typed->document()->findBlockByNumber(2).text(), QString("Hello"));
    }
};

KORVEX_QTEST(EditorToolsTest)

#include "editor_tools_test.moc"
