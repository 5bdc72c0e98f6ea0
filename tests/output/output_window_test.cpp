#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <mutex>
#include <string>

#include "output/output_controls.h"
#include "output/stats_controls.h"
#include "output/stats_window.h"
#include "platform/qt_dialogs.h"
#include "platform/twips.h"
#include "store/file_io.h"
#include "tests/output/output_program.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/modal.h"
#include "tests/support/qt_test_main.h"
#include "widgets/window_parts.h"

namespace outputControls = korvex::ui::outputControls;
namespace statsControls = korvex::ui::statsControls;

using namespace korvex::platform;
using korvex::store::Outcome;
using korvex::testing::OutputProgram;
using korvex::testing::RecordingDesktop;
using korvex::testing::ScriptedDialogs;
using korvex::ui::OutputWindow;
using korvex::ui::StatsWindow;

Q_DECLARE_METATYPE(QKeySequence)

namespace {

QPlainTextEdit* textOf(QWidget* window) {
    return window->findChild<QPlainTextEdit*>(outputControls::text);
}

QString labelText(QWidget* window, const char* name) {
    return window->findChild<QLabel*>(name)->text();
}

QString path(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

}  // namespace

class OutputWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<StatsWindow*>(); }

    void generationAsksThroughTheDialogs() {
        OutputProgram program;
        program.writeProject("Letter", {"\\msg\\ Hello there", "\\inp\\1_Your name?_who",
                                        "Dear\\s\\\\who\\,\\b\\{Sir|Sir}"});
        program.dialogs.expectMessage(BoxKind::Information).expectInput(QStringLiteral("Ann"));
        OutputWindow* window = program.open("Letter");
        QSignalSpy generated(window, &OutputWindow::generated);
        QCOMPARE(program.state.openWindows, 1);
        QVERIFY(program.dialogs.shown().empty());  // nothing before the start-up timer
        QVERIFY(window->findChild<QTimer*>("GenerateNew")->isActive());

        QTRY_COMPARE(generated.count(), 1);
        QCOMPARE(program.dialogs.problems(), QString());
        const auto& shown = program.dialogs.shown();
        QCOMPARE(shown.size(), 2u);
        QCOMPARE(shown[0].caption, QString("Korvex5"));
        QCOMPARE(shown[0].text, QString("Hello there"));
        QCOMPARE(shown[0].parent, window);
        QCOMPARE(shown[1].kind, BoxKind::Input);
        QCOMPARE(shown[1].caption, QString("Korvex"));
        QCOMPARE(shown[1].text, QString("Your name?"));
        QCOMPARE(textOf(window)->toPlainText(), QString("Dear Ann,\nSir"));
        QCOMPARE(labelText(window, outputControls::items), QString("2"));
        QCOMPARE(labelText(window, outputControls::variants), QString("2"));
        QVERIFY(!window->findChild<QLabel*>(outputControls::variants)->isVisible());

        // The record follows the text on the writer's thread.
        program.recordWriter.waitForIdle();
        QVERIFY(std::filesystem::exists(program.folder.path() / "Temp.txt"));
        QVERIFY(std::filesystem::exists(program.folder.path() / "Temp" / "0.txt"));
    }

    void everyTriggerRegenerates_data() {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("F5") << "F5";
        QTest::newRow("toolbar") << outputControls::generate;
        QTest::newRow("View menu") << "GenerateX";
        QTest::newRow("popup") << "ReGenerateX";
    }
    void everyTriggerRegenerates() {
        QFETCH(QString, trigger);
        OutputProgram program;
        program.writeProject("Note", {"fresh text"});
        OutputWindow* window = program.open("Note");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        QPlainTextEdit* text = textOf(window);
        text->setPlainText("typed by the user");
        text->setFocus();

        if (trigger == "F5") {
            QVERIFY(QTest::qWaitForWindowActive(&program.area));
            QTest::keyClick(text, Qt::Key_F5);
        } else if (trigger == outputControls::generate) {
            QTest::mouseClick(window->findChild<QToolButton*>(trigger), Qt::LeftButton);
        } else {
            window->findChild<QAction*>(trigger)->trigger();
        }
        QTRY_COMPARE(generated.count(), 2);
        QCOMPARE(text->toPlainText(), QString("fresh text"));
    }

    void jumpSetsTitleAndPathAtOnce() {
        OutputProgram program;
        program.writeProject("First", {"\\if\\ 0 = Second", "first text"});
        program.writeProject("Second", {"\\msg\\ asked", "second text"});
        QString titleWhenAsked;
        program.dialogs.setOnShown(
            [&](const ScriptedDialogs::Shown& box) { titleWhenAsked = box.parent->windowTitle(); });
        program.dialogs.expectMessage(BoxKind::Information);
        OutputWindow* window = program.open("First");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(titleWhenAsked, QString("Second"));
        QCOMPARE(window->windowTitle(), QString("Second"));
        QCOMPARE(program.area.activeSubWindow()->windowTitle(), QString("Second"));
        QCOMPARE(window->projectPath(), QString("Projects\\Second"));
        QCOMPARE(textOf(window)->toPlainText(), QString("second text"));
    }

    void endRequestClosesTheWindowAfterDelivery() {
        OutputProgram program;
        program.writeProject("Bye", {"bye", "\\end\\"});
        QPointer<OutputWindow> window = program.open("Bye");
        QSignalSpy generated(window.data(), &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(program.state.openWindows, 0);
        QVERIFY(program.area.subWindowList().isEmpty());
    }

    void closedWhileAskingClosesAfterTheRun() {
        OutputProgram program;
        program.writeProject("Ask", {"\\msg\\ one", "text"});
        // A real box runs an event loop of its own, in which a closed window would be deleted
        // while the generation it runs is still under way.
        QtDialogs realDialogs;
        korvex::ui::SharedState state{korvex::store::AppFolder(program.folder.path()),
                                      realDialogs,
                                      program.desktop,
                                      program.random,
                                      program.recordWriter,
                                      program.commands};
        QPointer<OutputWindow> window = new OutputWindow(state);
        window->setProjectPath("Projects\\Ask");
        QMdiSubWindow* frame = program.commands.addChild(window);
        QString delivered;
        connect(window, &OutputWindow::generated, this,
                [&] { delivered = textOf(window)->toPlainText(); });
        bool stillThere = false;
        korvex::testing::whenModal<QMessageBox>([&](QMessageBox* box) {
            frame->close();  // Quit, say, while the script's box is up
            QTest::qWait(50);
            stillThere = !window.isNull();
            box->accept();
        });
        // Should the box never be answered, it is closed later so the test fails, not hangs.
        QTimer::singleShot(8000, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
            }
        });
        QTRY_VERIFY(window.isNull());  // closed once the run was over
        QVERIFY(stillThere);
        QCOMPARE(delivered, QString("text"));
        QCOMPARE(state.openWindows, 0);
    }

    void warningComesAfterTheText() {
        OutputProgram program;
        program.writeProject("Loop", {"\\if\\ 0 = Loop", "\\if\\ -1000 = Loop", "done"});
        QString textWhenWarned;
        OutputWindow* window = program.open("Loop");
        program.dialogs.setOnShown(
            [&](const ScriptedDialogs::Shown&) { textWhenWarned = textOf(window)->toPlainText(); });
        program.dialogs.expectMessage(BoxKind::Warning);
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE_WITH_TIMEOUT(generated.count(), 1, 20000);
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().at(0).caption, QString("Korvex5"));
        QVERIFY(!program.dialogs.shown().at(0).text.isEmpty());
        QCOMPARE(textWhenWarned, QString("done"));
    }

    void copyAllShowsOkForHalfASecond_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("two lines") << "one\ntwo"
                                   << "one\r\ntwo";
    }
    void copyAllShowsOkForHalfASecond() {
        QFETCH(QString, shown);
        QFETCH(QString, clipboard);
        OutputProgram program;
        program.writeProject("Copy", {"generated"});
        OutputWindow* window = program.open("Copy");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        textOf(window)->setPlainText(shown);  // the user's edit is what is copied
        QApplication::clipboard()->setText("before");

        auto* button = window->findChild<QToolButton*>(outputControls::copyAll);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QString("[OK]"));
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(textOf(window)->textCursor().selectedText().size(), shown.size());
        QVERIFY(window->findChild<QTimer*>("TextCopy")->isActive());
        QTRY_COMPARE(button->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
    }

    void copyTakesTheSelectionOnly() {
        OutputProgram program;
        program.writeProject("Copy", {"generated"});
        OutputWindow* window = program.open("Copy");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        QApplication::clipboard()->setText("before");
        window->findChild<QAction*>("CopyX")->trigger();  // nothing selected
        QCOMPARE(QApplication::clipboard()->text(), QString("before"));

        QPlainTextEdit* text = textOf(window);
        text->setPlainText("ab\ncd");
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
        window->findChild<QAction*>("CopyX2")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("b\r\nc"));

        // The keyboard's copy goes the same way, no-break space and all.
        text->setPlainText(QString("x") + QChar(0xA0) + "y\nz");
        text->selectAll();
        QApplication::clipboard()->setText("before");
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("x") + QChar(0xA0) + "y\r\nz");
    }

    void statsOpensAStatisticsWindow() {
        OutputProgram program;
        program.writeProject("Stats", {"{x|y}"});
        program.commands.addChild(new QWidget);  // the editor it was generated from, say
        OutputWindow* window = program.open("Stats");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        textOf(window)->setPlainText("a b");

        QSignalSpy opened(window, &OutputWindow::statisticsOpened);
        QTest::mouseClick(window->findChild<QToolButton*>(outputControls::statistics),
                          Qt::LeftButton);
        QVERIFY(opened.isEmpty());  // the statistics timer opens it
        QTRY_COMPARE(opened.count(), 1);
        auto* stats = opened.at(0).at(0).value<StatsWindow*>();
        QCOMPARE(stats->objectName(), QString(statsControls::window));
        QCOMPARE(stats->windowTitle(), QString("Stats"));
        QCOMPARE(program.state.openWindows, 2);
        QPlainTextEdit* figures = textOf(stats);
        QTRY_COMPARE(figures->toPlainText(),
                     QString("N. Char.   : 3\nN. Words   : 2\nN. Items   : 2\nN. Variants: 2\n"));
        QCOMPARE(figures->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        QTest::keyClick(figures, Qt::Key_Escape);
        QTRY_COMPARE(program.state.openWindows, 1);
        // The window it was opened from is active again, so the next F5 goes there.
        QTRY_COMPARE(program.area.activeSubWindow(), korvex::ui::outerWindow(window));
    }

    void shortcutsWorkInTheMultiDocumentArea_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("shown");
        QTest::newRow("Ctrl+H") << QKeySequence(Qt::CTRL | Qt::Key_H) << "Two_html.txt"
                                << int(RecordingDesktop::Action::OpenFolder);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W) << "Two.html"
                                << int(RecordingDesktop::Action::OpenDocument);
        QTest::newRow("Ctrl+T") << QKeySequence(Qt::CTRL | Qt::Key_T) << "Two.txt"
                                << int(RecordingDesktop::Action::OpenFolder);
    }
    void shortcutsWorkInTheMultiDocumentArea() {
        QFETCH(QKeySequence, key);
        QFETCH(QString, file);
        QFETCH(int, shown);
        OutputProgram program;
        program.writeProject("One", {"one"});
        program.writeProject("Two", {"two"});
        // Two windows carry the same shortcuts: only the one holding the focus answers.
        OutputWindow* first = program.open("One");
        QSignalSpy firstGenerated(first, &OutputWindow::generated);
        QTRY_COMPARE(firstGenerated.count(), 1);
        OutputWindow* second = program.open("Two");
        QSignalSpy generated(second, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        textOf(second)->setFocus();

        QTest::keySequence(textOf(second), key);
        const std::filesystem::path written =
            program.folder.path() / "Exported" / file.toStdString();
        QVERIFY(std::filesystem::exists(written));
        QCOMPARE(program.desktop.requests().size(), 1u);
        const auto& request = program.desktop.requests().front();
        QCOMPARE(int(request.action), shown);
        QCOMPARE(request.target, path(request.action == RecordingDesktop::Action::OpenDocument
                                          ? written
                                          : program.folder.path() / "Exported"));

        QTest::keyClick(textOf(second), Qt::Key_F7);
        QCOMPARE(QApplication::clipboard()->text(), QString("two"));
        QTest::keyClick(textOf(second), Qt::Key_F5);
        QCOMPARE(generated.count(), 2);
        QCOMPARE(firstGenerated.count(), 1);
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void failedExportWarnsAndShowsNothing() {
        OutputProgram program;
        program.writeProject("Gone", {"text"});
        const std::filesystem::path exported = program.folder.path() / "Exported";
        std::filesystem::remove(exported);
        korvex::testing::writeBytes(exported, "a file where the folder should be");
        OutputWindow* window = program.open("Gone");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);

        program.dialogs.expectMessage(BoxKind::Warning);
        QTest::mouseClick(window->findChild<QToolButton*>(outputControls::exportText),
                          Qt::LeftButton);
        QCOMPARE(program.dialogs.problems(), QString());
        const ScriptedDialogs::Shown& warning = program.dialogs.shown().back();
        QCOMPARE(warning.caption, QString("Korvex5"));
        const std::string expected =
            korvex::store::writeFailure(exported / "Gone.txt",
                                        std::make_error_code(std::errc::not_a_directory))
                .message();
        QCOMPARE(warning.text, QString::fromStdString(expected));
        QVERIFY(program.desktop.requests().empty());
    }

    void desktopThatFailsIsReported_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("warning");  // %1: the application folder
        QTest::newRow("folder") << "ExportedFolderX"
                                << "Could not open the folder \"%1/Exported\": this desktop "
                                   "has no file browser set up to show it.";
        QTest::newRow("page") << "ExportInHTMLWebPageX"
                              << "\"%1/Exported/Page.html\" was saved. Could not open "
                                 "\"%1/Exported/Page.html\": this desktop has no program set up "
                                 "to open this kind of file.";
        // The file is there: the warning says so.
        QTest::newRow("text file") << "ExportInTextFileX"
                                   << "\"%1/Exported/Page.txt\" was saved, but the folder "
                                      "\"%1/Exported\" could not be opened.";
    }
    void desktopThatFailsIsReported() {
        QFETCH(QString, action);
        QFETCH(QString, warning);
        OutputProgram program;
        OutputWindow* window = program.open("Page");
        program.desktop.setSucceeds(false);
        program.dialogs.expectMessage(BoxKind::Warning);
        window->findChild<QAction*>(action)->trigger();
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().back().text, warning.arg(path(program.folder.path())));
        QCOMPARE(program.desktop.requests().size(), 1u);
    }

    void failedRecordIsReportedInTheWindow() {
        OutputProgram program;
        program.writeProject("Record", {"{a|b}"});
        const std::filesystem::path temp = program.folder.path() / "Temp";
        std::filesystem::remove(temp);
        korvex::testing::writeBytes(temp, "a file where the folder should be");
        OutputWindow* window = program.open("Record");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);

        auto* status = window->findChild<QLabel*>(outputControls::recordStatus);
        QTRY_VERIFY(status->isVisible());
        QVERIFY2(status->text().startsWith("Could not write \"" + path(temp)),
                 qPrintable(status->text()));
        QCOMPARE(program.dialogs.problems(), QString());  // no box for it
        QVERIFY(program.dialogs.shown().empty());

        // Once the folder is back, the next record is written and the line goes.
        std::filesystem::remove(temp);
        std::filesystem::create_directory(temp);
        window->generate();
        QTRY_VERIFY(!status->isVisible());
        QVERIFY(std::filesystem::exists(temp / "0.txt"));
    }

    // Two windows share the one writer: each shows how its own latest record went, never the
    // other's. The writer's signals reach the windows in the order of the writes, so once a
    // window shows a later outcome, every earlier one has reached both windows.
    void eachWindowShowsOnlyItsOwnRecordOutcome() {
        std::mutex mutex;
        std::string nextFailure;  // empty: the next record is written
        OutputProgram program([&](const korvex::engine::WorkingRecord&,
                                  const std::filesystem::path&,
                                  const korvex::ui::RecordWriter::StopQuery&) {
            const std::lock_guard lock(mutex);
            return nextFailure.empty() ? Outcome::success() : Outcome::failure(nextFailure);
        });
        auto failNext = [&](const std::string& failure) {
            const std::lock_guard lock(mutex);
            nextFailure = failure;
        };
        program.writeProject("Record", {"{a|b}"});
        auto statusOf = [](OutputWindow* window) {
            return window->findChild<QLabel*>(outputControls::recordStatus);
        };

        failNext("first fails");
        OutputWindow* first = program.open("Record");
        QTRY_COMPARE(statusOf(first)->text(), QString("first fails"));
        failNext("");
        OutputWindow* second = program.open("Record");
        QSignalSpy generated(second, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        program.recordWriter.waitForIdle();
        failNext("second fails");
        second->generate();
        QTRY_COMPARE(statusOf(second)->text(), QString("second fails"));
        QVERIFY(!statusOf(second)->isHidden());
        // Neither the second's success nor its failure spoke in the first.
        QCOMPARE(statusOf(first)->text(), QString("first fails"));
        QVERIFY(!statusOf(first)->isHidden());

        failNext("first fails again");
        first->generate();
        QTRY_COMPARE(statusOf(first)->text(), QString("first fails again"));
        QCOMPARE(statusOf(second)->text(), QString("second fails"));
    }

    void rightClickOpensTheWindowsPopup() {
        OutputProgram program;
        program.writeProject("Menu", {"text"});
        OutputWindow* window = program.open("Menu");
        QSignalSpy generated(window, &OutputWindow::generated);
        QTRY_COMPARE(generated.count(), 1);
        auto* popup = window->findChild<QMenu*>("MenuX");
        QVERIFY(!popup->isVisible());
        QTest::mousePress(textOf(window)->viewport(), Qt::RightButton);
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), popup);
        popup->close();
        QTest::mouseRelease(textOf(window)->viewport(), Qt::RightButton);
    }

    void windowAsItOpens() {
        OutputProgram program;
        program.open("Look");
        auto* window = program.area.findChild<OutputWindow*>(outputControls::window);
        QCOMPARE(program.area.activeSubWindow()->size(), QSize(twips(9600), twips(7500)));
        const QList<QPair<QString, QString>> tips = {
            {outputControls::exportText,
             "Export to TXT file (For other options [File > Export To...])"},
            {outputControls::copyAll, "Copy ALL (or Press F7)"},
            {outputControls::statistics, "Stats"},
            {outputControls::generate, "Generate again (or Press F5)"}};
        for (const auto& [name, tip] : tips) {
            QCOMPARE(window->findChild<QToolButton*>(name)->toolTip(), tip);
        }
        QCOMPARE(window->findChild<QToolButton*>(outputControls::generate)->width(), twips(1095));
        QPlainTextEdit* text = textOf(window);
        const int toolBar = twips(675);
        QCOMPARE(text->geometry(), QRect(twips(15), toolBar + twips(5), window->width(),
                                         window->height() - toolBar - twips(60)));
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QStringList menus;
        for (QMenu* menu : window->menuBarMenus()) {
            menus << menu->objectName();
        }
        QCOMPARE(menus, (QStringList{"FileX", "EditX", "ViewX", "Windows", "MenuHelpX"}));
        const QList<QAction*> exports = window->findChild<QMenu*>("ExportToHTMLX2")->actions();
        QCOMPARE(exports.size(), 5);  // three exports, a separator, the batch export
        QCOMPARE(exports.back()->objectName(), QString("ExportManyTextsX"));

        QTest::keyClick(text, Qt::Key_Escape);
        QTRY_COMPARE(program.state.openWindows, 0);
    }
};

KORVEX_QTEST(OutputWindowTest)
#include "output_window_test.moc"
