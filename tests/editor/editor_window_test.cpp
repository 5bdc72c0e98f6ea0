#include <QApplication>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include "editor/editor_controls.h"
#include "tests/editor/editor_program.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

namespace editorControls = korvex::editor::editorControls;

using namespace korvex::platform;
using korvex::editor::EditorWindow;
using korvex::testing::EditorProgram;
using korvex::testing::pane;
using korvex::testing::paneText;

Q_DECLARE_METATYPE(QKeySequence)

namespace {

QToolButton* button(QWidget* window, const char* name) {
    return window->findChild<QToolButton*>(name);
}

// As typing or pasting does; QTest's key clicks carry Latin-1 only.
void typeAtEnd(QPlainTextEdit* text, const QString& typed) {
    text->moveCursor(QTextCursor::End);
    text->insertPlainText(typed);
}

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void loadAndSaveKeepTheBytes_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");  // at the end, before the save
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("two lines") << QByteArray("a\r\nb\r\n") << "a\nb"
                                   << "" << QByteArray("a\r\nb\r\n");
        QTest::newRow("blank last line") << QByteArray("a\r\n\r\n") << "a\n"
                                         << "" << QByteArray("a\r\n\r\n");
        QTest::newRow("empty") << QByteArray() << ""
                               << "" << QByteArray("\r\n");
        QTest::newRow("tab") << QByteArray("a\tb\r\n") << "a    b"
                             << "" << QByteArray("a    b\r\n");
        QTest::newRow("windows-1252") << QByteArray("caf\xE9\xA0!\r\n") << "caf\u00e9\u00a0!"
                                      << "" << QByteArray("caf\xE9\xA0!\r\n");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF\xCE\xA9\r\n") << "\u03a9"
                                         << "" << QByteArray("\xEF\xBB\xBF\xCE\xA9\r\n");
        QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << "a\nb\nc"
                                        << "" << QByteArray("a\r\nb\r\nc\r\n");
        // A character windows-1252 cannot hold turns the file to UTF-8 rather than being lost.
        QTest::newRow("beyond the code page") << QByteArray("caf\xE9\r\n") << "caf\u00e9"
                                              << "\u03a9" << QByteArray("caf\xC3\xA9\xCE\xA9\r\n");
    }
    void loadAndSaveKeepTheBytes() {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        EditorProgram program;
        EditorWindow* window = program.open("Note", file.constData());
        QPlainTextEdit* text = pane(window);
        QCOMPARE(paneText(text), shown);
        QVERIFY(!window->isModified());
        typeAtEnd(text, typed);
        QCOMPARE(window->isModified(), !typed.isEmpty());

        QApplication::clipboard()->setText("before");
        text->selectAll();
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTest::keyClick(text, Qt::Key_F8);
        QCOMPARE(QByteArray::fromStdString(program.projectBytes("Note")), saved);
        QVERIFY(!window->isModified());
        QCOMPARE(button(window, editorControls::save)->text(), QString("[OK]"));
        // Half a second on the feedback ends and the selection goes to the clipboard.
        QTRY_COMPARE(button(window, editorControls::save)->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(),
                 text->toPlainText().isEmpty() ? "before" : text->toPlainText());
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void theSaveFeedbackLeavesTheFocusWhereTheUserPutIt() {
        EditorProgram program;
        EditorWindow* saved = program.open("Saved", "a\r\n");
        EditorWindow* other = program.open("Other", "b\r\n");
        program.area.setActiveSubWindow(program.area.subWindowList().at(0));
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTest::keyClick(pane(saved), Qt::Key_F8);
        // Within the half second, the user goes on in the other editor.
        program.area.setActiveSubWindow(program.area.subWindowList().at(1));
        pane(other)->setFocus();
        QTRY_COMPARE(button(saved, editorControls::save)->text(), QString());
        QVERIFY(pane(other)->hasFocus());
        QTest::keyClick(pane(other), 'x');
        QCOMPARE(paneText(pane(other)), QString("xb"));
        QCOMPARE(paneText(pane(saved)), QString("a"));
    }

    void undoBackToTheSavedTextIsNotModified() {
        EditorProgram program;
        EditorWindow* window = program.open("Undo", "a\r\n");
        QPlainTextEdit* text = pane(window);
        typeAtEnd(text, "b");
        window->save();
        typeAtEnd(text, "c");
        QVERIFY(window->isModified());
        text->undo();
        QVERIFY(!window->isModified());
        text->undo();  // before the save: changed again
        QVERIFY(window->isModified());
        text->redo();
        QVERIFY(!window->isModified());
    }

    void generateSavesOrAsks_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("dnAsk");
        QTest::addColumn<int>("answer");  // -1: no question
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("opened");
        // The script arrives as "x" with a lone LF, so a save shows as a CR LF; the edit adds
        // a tab, which Generate's save turns into four spaces in the pane and the file.
        QTest::newRow("unmodified saves") << false << false << -1 << QByteArray("x\r\n") << true;
        QTest::newRow("Yes") << true << false << int(Answer::Yes) << QByteArray("x    y\r\n")
                             << true;
        QTest::newRow("No") << true << false << int(Answer::No) << QByteArray("x\n") << true;
        QTest::newRow("Cancel") << true << false << int(Answer::Cancel) << QByteArray("x\n")
                                << false;
        QTest::newRow("dnask") << true << true << -1 << QByteArray("x    y\r\n") << true;
    }
    void generateSavesOrAsks() {
        QFETCH(bool, edit);
        QFETCH(bool, dnAsk);
        QFETCH(int, answer);
        QFETCH(QByteArray, file);
        QFETCH(bool, opened);
        EditorProgram program;
        program.state.settings.saveWithoutAsking = dnAsk;
        EditorWindow* window = program.open("Gen", "x\n");
        QPlainTextEdit* text = pane(window);
        if (edit) {
            typeAtEnd(text, "\ty");
        }
        if (answer >= 0) {
            program.dialogs.expectMessage(BoxKind::Question, Answer(answer));
        }
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTest::keyClick(text, Qt::Key_F5);

        QCOMPARE(program.dialogs.problems(), QString());
        if (answer >= 0) {
            QCOMPARE(program.dialogs.shown().at(0).text, EditorWindow::kSaveQuestion);
        }
        QCOMPARE(QByteArray::fromStdString(program.projectBytes("Gen")), file);
        QCOMPARE(program.commands.calls.contains("openOutput Gen Projects\\Gen"), opened);
        const bool saved = answer < 0 || answer == int(Answer::Yes);
        QCOMPARE(window->isModified(), !saved);
        QCOMPARE(text->toPlainText().contains('\t'), !saved);
    }

    void closingAsksWhenModified_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("byEsc");
        QTest::addColumn<int>("answer");  // -1: no question
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("closed");
        // Unmodified, nothing is written: the file may hold a newer save from elsewhere.
        QTest::newRow("unmodified") << false << false << -1 << QByteArray("newer\r\n") << true;
        QTest::newRow("Yes") << true << true << int(Answer::Yes) << QByteArray("old!\r\n") << true;
        QTest::newRow("No") << true << false << int(Answer::No) << QByteArray("newer\r\n") << true;
        QTest::newRow("Cancel") << true << true << int(Answer::Cancel) << QByteArray("newer\r\n")
                                << false;
    }
    void closingAsksWhenModified() {
        QFETCH(bool, edit);
        QFETCH(bool, byEsc);
        QFETCH(int, answer);
        QFETCH(QByteArray, file);
        QFETCH(bool, closed);
        EditorProgram program;
        QPointer<EditorWindow> window = program.open("Letters", "old\r\n");
        QPlainTextEdit* text = pane(window);
        if (edit) {
            typeAtEnd(text, "!");
        }
        program.folder.write("Projects/Letters.ini", "newer\r\n");
        if (answer >= 0) {
            program.dialogs.expectMessage(BoxKind::Question, Answer(answer));
        }
        if (byEsc) {
            QTest::keyClick(text, Qt::Key_Escape);
        } else {
            QVERIFY(program.closeFirstChild());
        }

        QCOMPARE(program.dialogs.problems(), QString());
        if (answer >= 0) {
            QCOMPARE(program.dialogs.shown().at(0).text, QString("Do You Want To Saving LETTERS?"));
        }
        QCOMPARE(QByteArray::fromStdString(program.projectBytes("Letters")), file);
        QTRY_COMPARE(window.isNull(), closed);
        QCOMPARE(program.state.openWindows, closed ? 0 : 1);
        QCOMPARE(program.bytes("Extra/Wrap.ini"), std::string(closed ? "0\r\n" : ""));
    }

    void failedSaveKeepsTheWindowModified() {
        EditorProgram program;
        QPointer<EditorWindow> window = program.open("Locked", "text\r\n");
        const auto file = program.folder.path() / "Projects" / "Locked.ini";
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
        typeAtEnd(pane(window), "!");
        program.dialogs.expectMessage(BoxKind::Warning)
            .expectMessage(BoxKind::Question, Answer::Yes)
            .expectMessage(BoxKind::Warning)
            .expectMessage(BoxKind::Question, Answer::Yes)
            .expectMessage(BoxKind::Warning);

        window->save();
        QVERIFY(window->isModified());
        QCOMPARE(button(window, editorControls::save)->text(), QString());
        window->generate();  // Yes to the question: the save fails, nothing is generated
        QVERIFY(!program.commands.calls.join(' ').contains("openOutput"));
        QVERIFY(program.closeFirstChild());  // Yes: the save fails, the window stays
        QCOMPARE(program.dialogs.problems(), QString());
        const QString warning = program.dialogs.shown().back().text;
        QVERIFY2(warning.startsWith(QString("Could not write \"%1\": ").arg(file.c_str())),
                 qPrintable(warning));
        QVERIFY(!window.isNull() && window->isModified());
        QCOMPARE(program.bytes("Projects/Locked.ini"), std::string("text\r\n"));

        program.dialogs.expectMessage(BoxKind::Question, Answer::No);
        QVERIFY(program.closeFirstChild());  // asked again
        QTRY_VERIFY(window.isNull());
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void unreadableFileOpensNoEditor() {
        EditorProgram program;
        std::filesystem::create_directories(program.folder.path() / "Projects" / "Dir.ini");
        program.dialogs.expectMessage(BoxKind::Warning);
        QPointer<EditorWindow> window = program.open("Dir", nullptr);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().at(0).text,
                 QString("Could not read \"%1\": Is a directory.")
                     .arg((program.folder.path() / "Projects" / "Dir.ini").c_str()));
        QCOMPARE(program.state.openWindows, 0);
        QVERIFY(!std::filesystem::exists(program.folder.path() / "Extra" / "Wrap.ini"));
    }

    void wordWrapIsReadToggledAndLeftByTheLastWindow_data() {
        QTest::addColumn<QByteArray>("wrapFile");  // empty: none
        QTest::addColumn<bool>("wrapped");
        QTest::newRow("none") << QByteArray() << false;
        QTest::newRow("1,0") << QByteArray("1,0\r\n") << true;
        QTest::newRow("quoted") << QByteArray("\"1\"\r\n") << true;
        QTest::newRow("yes") << QByteArray("yes\r\n") << false;
    }
    void wordWrapIsReadToggledAndLeftByTheLastWindow() {
        QFETCH(QByteArray, wrapFile);
        QFETCH(bool, wrapped);
        EditorProgram program;
        if (!wrapFile.isEmpty()) {
            program.folder.write("Extra/Wrap.ini", wrapFile.toStdString());
        }
        EditorWindow* toggled = program.open("A", "a long line\r\n");
        EditorWindow* other = program.open("B", "b\r\n");
        QCOMPARE(pane(toggled, editorControls::wrappedPane)->isVisible(), wrapped);
        QCOMPARE(pane(toggled, editorControls::unwrappedPane)->isVisible(), !wrapped);

        QTest::mouseClick(button(toggled, editorControls::wordWrap), Qt::LeftButton);
        QPlainTextEdit* shown =
            pane(toggled, wrapped ? editorControls::unwrappedPane : editorControls::wrappedPane);
        QVERIFY(shown->isVisible());
        QCOMPARE(button(toggled, editorControls::save)->text(),
                 QString("[OK]"));  // the toggle saved
        typeAtEnd(shown, "!");
        toggled->save();
        QCOMPARE(program.projectBytes("A"), std::string("a long line!\r\n"));

        // The state reaches the file only as a window closes; the last one decides.
        QCOMPARE(program.bytes("Extra/Wrap.ini"), wrapFile.toStdString());
        QVERIFY(program.closeFirstChild());
        QCOMPARE(program.bytes("Extra/Wrap.ini"), std::string(wrapped ? "0\r\n" : "1\r\n"));
        QCOMPARE(other->isVisible(), true);
        other->parentWidget()->close();
        QCOMPARE(program.bytes("Extra/Wrap.ini"), std::string(wrapped ? "1\r\n" : "0\r\n"));
    }

    void editCommandsThroughTheirKeys_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
        QTest::newRow("block") << ctrl(Qt::Key_F) << "a red b" << 2 << 3 << "a {|red} b" << 8;
        QTest::newRow("empty block") << ctrl(Qt::Key_F) << "ab" << 1 << 0 << "a{|}b" << 4;
        QTest::newRow("\\s\\") << ctrl(Qt::Key_S) << "a b" << 0 << 3 << "\\s\\" << 3;
        QTest::newRow("\\b\\") << ctrl(Qt::Key_B) << "ab" << 1 << 0 << "a\\b\\b" << 4;
        QTest::newRow("4 spaces") << ctrl(Qt::Key_Q) << "a\n\nb\nc" << 0 << 5 << "    a\n    b\nc"
                                  << 12;
        QTest::newRow("title") << ctrl(Qt::Key_T) << "hELLO wORLD-wide" << 0 << 16
                               << "Hello World-wide" << 16;
        QTest::newRow("split") << ctrl(Qt::Key_Y) << " red green  blue " << 0 << 17
                               << "\nred\ngreen\n\nblue" << 16;
        QTest::newRow("upper") << ctrl(Qt::Key_F1) << "caf\u00e9" << 0 << 4 << "CAF\u00c9" << 4;
        QTest::newRow("lower") << ctrl(Qt::Key_F2) << "ABC" << 1 << 1 << "AbC" << 2;
        QTest::newRow("invert") << ctrl(Qt::Key_F3) << "Ab1\u00e9" << 0 << 4 << "aB1\u00e9" << 4;
        QTest::newRow("top") << ctrl(Qt::Key_U) << "0123456789" << 4 << 2 << "0123456789" << 0;
        QTest::newRow("end") << ctrl(Qt::Key_D) << "0123456789" << 4 << 0 << "0123456789" << 10;
    }
    void editCommandsThroughTheirKeys() {
        QFETCH(QKeySequence, key);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, after);
        QFETCH(int, caret);
        EditorProgram program;
        QPlainTextEdit* edit = pane(program.open("Keys"));
        edit->setPlainText(text);
        QTextCursor selection = edit->textCursor();
        selection.setPosition(start);
        selection.setPosition(start + length, QTextCursor::KeepAnchor);
        edit->setTextCursor(selection);
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        edit->setFocus();
        QTest::keySequence(edit, key);

        QCOMPARE(edit->toPlainText(), after);
        QCOMPARE(edit->textCursor().position(), caret);
        QVERIFY(!edit->textCursor().hasSelection());
        edit->undo();  // one step takes a command back whole
        QCOMPARE(edit->toPlainText(), text);
    }

    void lineCommandsWantASelection() {
        EditorProgram program;
        EditorWindow* window = program.open("Lines", "  x\r\n");
        program.dialogs.expectMessage(BoxKind::Information);
        window->findChild<QAction*>("RemoveInitialSpacesX")->trigger();
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().at(0).text, QString("Select one or more lines"));
        QVERIFY(!window->isModified());

        pane(window)->selectAll();
        window->findChild<QAction*>("RemoveInitialSpacesX")->trigger();
        QCOMPARE(pane(window)->toPlainText(), QString("x\n"));
        pane(window)->selectAll();
        window->findChild<QAction*>("DeleteX")->trigger();
        QCOMPARE(pane(window)->toPlainText(), QString());
        QVERIFY(window->isModified());
        QVERIFY(!std::filesystem::exists(program.folder.path() / "Temp.txt"));
    }

    void handOverButtonsAndRightClick() {
        EditorProgram program;
        EditorWindow* window = program.open("Buttons");
        QTest::mouseClick(button(window, editorControls::importText), Qt::LeftButton);
        QTest::mouseClick(button(window, editorControls::runtime), Qt::LeftButton);
        window->setWindowTitle(QString());
        QTest::mouseClick(button(window, editorControls::runtime), Qt::LeftButton);
        QCOMPARE(program.commands.calls,
                 (QStringList{"openImport", "createRuntime Buttons Projects\\Buttons"}));

        QTest::mousePress(pane(window)->viewport(), Qt::RightButton);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QString("EditX"));
        QApplication::activePopupWidget()->close();
    }
};

KORVEX_QTEST(EditorWindowTest)

#include "editor_window_test.moc"
