#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include "editor/editor_controls.h"
#include "output/output_window.h"
#include "tests/editor/editor_program.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

namespace editorControls = korvex::editor::editorControls;

using namespace korvex::platform;
using korvex::editor::EditorWindow;
using korvex::testing::EditorProgram;
using korvex::testing::pane;
using Action = korvex::testing::RecordingDesktop::Action;

class ExternalEditorTest : public QObject {
    Q_OBJECT
private slots:
    void commandSavesStartsAndReloads_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<int>("answer");             // -1: no question
        QTest::addColumn<bool>("starts");            // whether the desktop can start the editor
        QTest::addColumn<QByteArray>("handedOver");  // the file as the external editor found it
        QTest::newRow("unmodified saves") << false << -1 << true << QByteArray("old\r\n");
        QTest::newRow("Yes") << true << int(Answer::Yes) << true << QByteArray("old!\r\n");
        QTest::newRow("No") << true << int(Answer::No) << true << QByteArray("old\n");
        QTest::newRow("Cancel") << true << int(Answer::Cancel) << true << QByteArray();
        QTest::newRow("start fails") << false << -1 << false << QByteArray("old\r\n");
    }
    void commandSavesStartsAndReloads() {
        QFETCH(bool, edit);
        QFETCH(int, answer);
        QFETCH(bool, starts);
        QFETCH(QByteArray, handedOver);
        EditorProgram program;
        program.desktop.setSucceeds(starts);
        program.folder.write("Extra/Wrap.ini", "1\r\n");
        // The name has a space: the path still reaches the editor as one argument.
        EditorWindow* window = program.open("My Note", "old\n");
        if (edit) {
            pane(window, editorControls::wrappedPane)->moveCursor(QTextCursor::End);
            pane(window, editorControls::wrappedPane)->insertPlainText("!");
        }
        if (answer >= 0) {
            program.dialogs.expectMessage(BoxKind::Question, Answer(answer));
        }
        if (!starts) {
            program.dialogs.expectMessage(BoxKind::Warning);
        }
        QByteArray found;
        if (answer != int(Answer::Cancel)) {
            program.dialogs.expectMessage(BoxKind::Information);
            // While the box waits, the user edits in the external editor, tab and all.
            program.dialogs.setOnShown([&](const korvex::testing::ScriptedDialogs::Shown& box) {
                if (box.kind == BoxKind::Information) {
                    found = QByteArray::fromStdString(program.projectBytes("My Note"));
                    program.folder.write("Projects/My Note.ini", "edited\tout there\r\n");
                }
            });
        }
        QSignalSpy loaded(window, &EditorWindow::loaded);
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTest::keyClick(pane(window, editorControls::wrappedPane), Qt::Key_F9);

        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(found, handedOver);
        const auto file = program.folder.path() / "Projects" / "My Note.ini";
        if (answer == int(Answer::Cancel)) {
            QVERIFY(program.desktop.requests().empty());
            QVERIFY(window->isModified());
            return;
        }
        const QString program_ = (program.folder.path() / "Extra" / "Notepad2.exe").c_str();
        QCOMPARE(program.desktop.requests().size(), 1u);
        QCOMPARE(program.desktop.requests()[0].action, Action::StartProgram);
        QCOMPARE(program.desktop.requests()[0].target, program_);
        QCOMPARE(program.desktop.requests()[0].arguments, QStringList{file.c_str()});
        QCOMPARE(program.dialogs.shown().back().text, QString("Press OK to Refresh."));
        if (!starts) {
            QCOMPARE(program.dialogs.shown().at(0).text,
                     QString("Could not start the external editor \"%1\".").arg(program_));
        }
        QCOMPARE(program.state.openWindows, 0);  // until the reload
        QVERIFY(loaded.wait(2000));
        QCOMPARE(program.state.openWindows, 1);
        QVERIFY(pane(window, editorControls::wrappedPane)->isVisible());
        QCOMPARE(pane(window, editorControls::wrappedPane)->toPlainText(),
                 QString("edited    out there"));
        QVERIFY(!window->isModified());
    }

    void modeGeneratesStartsTheEditorAndCloses() {
        EditorProgram program;
        program.state.settings.useExternalEditor = true;
        QPointer<EditorWindow> first = program.open("One", "{a|b}\r\n");
        QPointer<EditorWindow> second = program.open("Two", "c\r\n");
        QVERIFY(first->worksOutOfSight() && !first->isVisible());
        QTRY_VERIFY(first.isNull() && second.isNull());

        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.commands.calls,
                 (QStringList{"openOutput One Projects\\One", "openOutput Two Projects\\Two"}));
        QCOMPARE(program.desktop.requests().size(), 2u);
        QCOMPARE(program.desktop.requests()[1].arguments,
                 QStringList{(program.folder.path() / "Projects" / "Two.ini").c_str()});
        QCOMPARE(program.state.openWindows, 0);
        QCOMPARE(program.projectBytes("One"), std::string("{a|b}\r\n"));
        QVERIFY(!std::filesystem::exists(program.folder.path() / "Extra" / "Wrap.ini"));
    }

    void inTheMainWindow() {
        // External-editor mode: the generated text shows inside the main window's area.
        korvex::testing::Program p;
        QVERIFY(p.write("Extra/Setting.ini", "editor = 1\r\n"));
        QVERIFY(p.write("Projects/Letter.ini", "Dear friend\r\n"));
        p.startAndSettle();
        p.window->openEditor("Letter");
        QTRY_COMPARE(p.children<korvex::ui::OutputWindow>().size(), 1);
        QTRY_COMPARE(p.desktop.requests().size(), 1u);
        QVERIFY(p.children<EditorWindow>().isEmpty());
        const QMdiSubWindow* frame = p.area().subWindowList().at(0);
        QVERIFY(p.area().viewport()->rect().contains(frame->geometry().topLeft()));
    }

    void editorsOpenInsideTheArea() {
        korvex::testing::Program p;
        p.startAndSettle();
        for (const char* name : {"A", "B", "C"}) {
            p.window->openEditor(name);
        }
        const QRect area(QPoint(), p.area().viewport()->size());
        for (const QMdiSubWindow* frame : p.area().subWindowList()) {
            QVERIFY2(area.contains(frame->geometry()), qPrintable(frame->windowTitle()));
        }
    }

    void cancelStopsCloseAllAndQuit() {
        korvex::testing::Program p;
        QVERIFY(p.write("Projects/Letter.ini", "Dear friend\r\n"));
        p.startAndSettle();
        p.window->openEditor("Letter");
        QTRY_COMPARE(p.children<EditorWindow>().size(), 1);
        EditorWindow* editor = p.children<EditorWindow>().at(0);
        QSignalSpy loaded(editor, &EditorWindow::loaded);
        QVERIFY(loaded.wait(2000));
        // The editor's menus stand in the menu bar: Ctrl+S is Add \s\, not the settings.
        pane(editor)->setFocus();
        QTest::keyClick(pane(editor), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(pane(editor)->toPlainText(), QString("\\s\\Dear friend"));
        QVERIFY(p.desktop.requests().empty());
        p.dialogs.expectMessage(BoxKind::Question, Answer::Cancel)
            .expectMessage(BoxKind::Question, Answer::Cancel);
        p.window->findChild<QAction*>("CloseAllX")->trigger();
        QVERIFY(!p.window->close());  // Quit
        QCOMPARE(p.dialogs.problems(), QString());
        QCOMPARE(p.children<EditorWindow>().size(), 1);
        QCOMPARE(p.window->state().openWindows, 1);
        QVERIFY(p.window->isVisible());
    }
};

KORVEX_QTEST(ExternalEditorTest)

#include "external_editor_test.moc"
