#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "editor/editor_window.h"
#include "engine/generate.h"
#include "output/output_window.h"
#include "platform/engine_host.h"
#include "platform/twips.h"
#include "shell/main_controls.h"
#include "shell/new_project_controls.h"
#include "shell/program_info.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"
#include "widgets/window_parts.h"

using korvex::platform::BoxKind;
using korvex::testing::Program;
using namespace korvex::ui;
using korvex::editor::EditorWindow;
using korvex::platform::twips;
using Request = korvex::testing::RecordingDesktop::Request;
using Action = korvex::testing::RecordingDesktop::Action;

namespace {

/// A child window counted in the open-window list, with a menu of its own, that closes only
/// when it is allowed to.
class TestChild : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    TestChild(SharedState& state, const QString& name)
        : state_(state), menu_(new QMenu("Child", this)) {
        menu_->setObjectName(name + "Menu");
        for (const QKeySequence& key :
             {QKeySequence(Qt::Key_F5), QKeySequence("Ctrl+W"), QKeySequence("Ctrl+F4")}) {
            connect(menu_->addAction(key.toString(), key), &QAction::triggered, this,
                    [this, key] { triggered << key.toString(); });
        }
        state_.windowOpened();
    }
    QList<QMenu*> menuBarMenus() const override { return {menu_}; }

    bool refuses = false;
    QStringList triggered;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->setAccepted(!refuses);
        if (!refuses) {
            state_.windowClosed();
        }
    }

private:
    SharedState& state_;
    QMenu* menu_;
};

/// The working record of a generation from a script of three blocks.
korvex::engine::WorkingRecord someRecord(Program& p) {
    if (!p.write("Projects/Three.ini", "{a|b}\r\n{c|d}\r\n{e|f}\r\n")) {
        return {};
    }
    korvex::engine::Options options;
    options.appFolder = korvex::platform::toPath(p.folder.path());
    korvex::platform::EngineHost host(p.dialogs, kProgramTitle);
    korvex::engine::Random random(1);
    return korvex::engine::generate("Projects\\Three", options, host, random).record;
}

}  // namespace

Q_DECLARE_METATYPE(Request)

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpSetsTitleAndAppliesSettings_data() {
        QTest::addColumn<QByteArray>("settings");  // empty: no settings file
        QTest::addColumn<bool>("barShown");
        QTest::addColumn<QColor>("bar");
        QTest::addColumn<QColor>("panel");       // invalid: the system's window colour
        QTest::addColumn<QColor>("background");  // invalid: the area's own
        const QColor grey(64, 64, 64);
        QTest::newRow("no file") << QByteArray() << true << grey << QColor() << QColor();
        QTest::newRow("toolbar hidden")
            << QByteArray("show_main_bar = 0\r\n") << false << grey << QColor() << QColor();
        QTest::newRow("colours") << QByteArray("Color_Main_Bar=#FF0000\r\nbackground_color=#0000ff")
                                 << true << QColor(Qt::red) << QColor(Qt::red) << QColor(Qt::blue);
    }
    void startUpSetsTitleAndAppliesSettings() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, barShown);
        QFETCH(QColor, bar);
        QFETCH(QColor, panel);
        QFETCH(QColor, background);
        Program p;
        QVERIFY(settings.isEmpty() || p.write("Extra/Setting.ini", settings));
        QVERIFY(p.write("Projects/b.ini", "x") && p.write("Projects/a.ini.ini", "x"));
        const QColor designBackground = QMdiArea().background().color();

        p.start();
        QVERIFY(!p.window->windowTitle().contains("5.00"));  // not before the tick
        QCOMPARE(p.window->startupProjects(), (QStringList{"a", "b"}));
        QSignalSpy started(p.window.get(), &MainWindow::started);
        QVERIFY(started.wait(2000));
        QCOMPARE(p.window->windowTitle(), QString("Korvex5 5.00"));

        QWidget* toolBar = p.child(mainControls::toolBar);
        QCOMPARE(toolBar->isVisibleTo(p.window.get()), barShown);
        QCOMPARE(toolBar->palette().color(QPalette::Window), bar);
        QCOMPARE(p.child(mainControls::panel)->palette().color(QPalette::Window),
                 panel.isValid() ? panel : QApplication::palette().color(QPalette::Window));
        QCOMPARE(p.area().background().color(),
                 background.isValid() ? background : designBackground);
    }

    void windowsMenuAndArrangementButtonsFollowOpenWindows() {
        Program p;
        p.startAndSettle();
        QAction* windowsMenu = p.window->findChild<QMenu*>("Windows")->menuAction();
        auto shown = [&](bool expected) {
            bool all = windowsMenu->isVisible() == expected;
            for (const char* name : {mainControls::cascade, mainControls::horizontal,
                                     mainControls::vertical, mainControls::closeAll}) {
                all = all && p.child(name)->isVisibleTo(p.window.get()) == expected;
            }
            return all;
        };
        QVERIFY(shown(false));
        p.window->addChild(new TestChild(p.window->state(), "A"));
        QTRY_VERIFY(shown(true));
        p.window->closeAll(true);
        QTRY_VERIFY(shown(false));
    }

    void toolbarButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Request>("request");  // paths relative to the application folder
        QTest::addColumn<bool>("keepsFocus");
        QTest::newRow("Setting...")
            << mainControls::settings
            << Request{Action::StartProgram, "Extra/Notepad2.exe", {"Extra/Setting.ini"}} << false;
        QTest::newRow("Projects Manager... shows the folder")
            << mainControls::projectsManager << Request{Action::OpenFolder, "Projects", {}}
            << false;
        QTest::newRow("Help offline...")
            << mainControls::help << Request{Action::OpenDocument, "Extra/Help.html", {}} << true;
        QTest::newRow("Official Web Site...")
            << mainControls::webSite << Request{Action::OpenDocument, kWebSite, {}} << false;
    }
    void toolbarButtons() {
        QFETCH(QString, button);
        QFETCH(Request, request);
        QFETCH(bool, keepsFocus);
        Program p;
        p.startAndSettle();
        p.window->newProject();
        QWidget* name = p.child(newProjectControls::name);
        QTRY_COMPARE(QApplication::focusWidget(), name);

        qobject_cast<QPushButton*>(p.child(button))->click();
        if (request.target != kWebSite) {
            request.target = p.path(request.target);
        }
        for (QString& argument : request.arguments) {
            argument = p.path(argument);
        }
        QCOMPARE(p.desktop.requests(), std::vector<Request>{request});
        QCOMPARE(QApplication::focusWidget(), keepsFocus ? name : p.child(mainControls::toolBar));
    }

    void desktopWithoutHandlerIsReported_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("warning");  // %1: the application folder
        QTest::newRow("help, no file") << "Command10"
                                       << "Could not open \"%1/Extra/Help.html\": the file does "
                                          "not exist.";
        QTest::newRow("web site") << "Command9"
                                  << "Could not open \"" + kWebSite +
                                         "\": this desktop has no web browser set up to open it.";
        QTest::newRow("projects folder") << "Command12"
                                         << "Could not open the folder \"%1/Projects\": this "
                                            "desktop has no file browser set up to show it.";
    }
    void desktopWithoutHandlerIsReported() {
        QFETCH(QString, button);
        QFETCH(QString, warning);
        Program p;
        p.desktop.setSucceeds(false);
        p.startAndSettle();
        p.dialogs.expectMessage(BoxKind::Warning);
        qobject_cast<QPushButton*>(p.child(button))->click();
        QCOMPARE(p.dialogs.problems(), QString());
        QCOMPARE(p.dialogs.shown().at(0).text,
                 warning.contains("%1") ? warning.arg(p.folder.path()) : warning);
    }

    void mainShortcuts_data() {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("desktopTarget");  // what the desktop is asked to open
        QTest::addColumn<bool>("warns");             // "Last Project not found."
        QTest::addColumn<bool>("newProject");        // a New Project dialog appears
        QTest::newRow("F1 help") << QKeySequence("F1") << "Extra/Help.html" << false << false;
        QTest::newRow("Ctrl+S setting")
            << QKeySequence("Ctrl+S") << "Extra/Notepad2.exe" << false << false;
        QTest::newRow("F2 new project") << QKeySequence("F2") << "" << false << true;
        QTest::newRow("F3 opens the manager") << QKeySequence("F3") << "" << false << false;
        QTest::newRow("F4 last project") << QKeySequence("F4") << "" << true << false;
    }
    void mainShortcuts() {
        QFETCH(QKeySequence, key);
        QFETCH(QString, desktopTarget);
        QFETCH(bool, warns);
        QFETCH(bool, newProject);
        Program p;
        p.startAndSettle();
        if (warns) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        QTest::keySequence(p.window.get(), key);

        QCOMPARE(p.dialogs.problems(), QString());
        if (warns) {
            QCOMPARE(p.dialogs.shown().at(0).text, QString("Last Project not found."));
        }
        QCOMPARE(p.desktop.requests().size(), desktopTarget.isEmpty() ? 0u : 1u);
        if (!desktopTarget.isEmpty()) {
            QCOMPARE(p.desktop.requests()[0].target, p.path(desktopTarget));
        }
        QCOMPARE(p.window->newProjectDialog() != nullptr, newProject);
    }

    void activeChildBringsItsMenusAndShortcuts() {
        Program p;
        p.startAndSettle();
        const QStringList mainMenus{"FileX", "Windows", "MenuHelpX"};
        QCOMPARE(p.menuBarNames(), mainMenus);
        auto* child = new TestChild(p.window->state(), "A");
        QMdiSubWindow* sub = p.window->addChild(child);
        QTRY_COMPARE(p.menuBarNames(), QStringList{"AMenu"});

        // The sub-window's own Ctrl+W and Ctrl+F4 must not shadow the child's.
        for (const char* key : {"F5", "Ctrl+W", "Ctrl+F4", "Ctrl+S"}) {
            QTest::keySequence(child, QKeySequence(key));
        }
        QCOMPARE(child->triggered, (QStringList{"F5", "Ctrl+W", "Ctrl+F4"}));
        QVERIFY(p.desktop.requests().empty());  // the main window's Ctrl+S is out of the bar
        sub->close();
        QTRY_COMPARE(p.menuBarNames(), mainMenus);
    }

    void closeAllAndQuitStopAtARefusingChild() {
        Program p;
        p.startAndSettle();
        QVERIFY(p.write("Temp.txt", "record"));
        auto* kept = new TestChild(p.window->state(), "Kept");
        QMdiSubWindow* keptSub = p.window->addChild(kept);
        QMdiSubWindow* otherSub = p.window->addChild(new TestChild(p.window->state(), "Other"));
        kept->refuses = true;

        p.area().setActiveSubWindow(keptSub);
        p.window->closeAll(true);
        QVERIFY(keptSub->isVisible() && otherSub->isVisible());  // stopped at the first
        p.area().setActiveSubWindow(otherSub);
        p.window->closeAll(true);
        QTRY_VERIFY(otherSub == nullptr || !otherSub->isVisible());
        QCOMPARE(p.area().currentSubWindow(), keptSub);
        QCOMPARE(p.window->state().openWindows, 1);  // not cleared: the list still counts it

        QVERIFY(!p.window->close());
        QVERIFY(p.window->isVisible() && QFile::exists(p.path("Temp.txt")));
        kept->refuses = false;
        QVERIFY(p.window->close());
        QVERIFY(!QFile::exists(p.path("Temp.txt")));
    }

    // Opened beside a window near the area's edge, the generated text stays inside it; closed,
    // it gives the activation back to the window it was opened from.
    void generatedTextOpensInsideTheAreaAndGivesBackTheActivation() {
        Program p;
        p.startAndSettle();
        QVERIFY(p.write("Projects/Edge.ini", "x\r\n"));
        auto* opener = new QWidget;
        QMdiSubWindow* openerFrame = p.window->addChild(opener);
        openerFrame->move(p.area().viewport()->width() - 50, p.area().viewport()->height() - 50);
        p.window->openOutput("Edge", "Projects\\Edge", opener);
        const QList<OutputWindow*> outputs = p.children<OutputWindow>();
        QCOMPARE(outputs.size(), 1);
        QWidget* frame = korvex::ui::outerWindow(outputs.first());
        QVERIFY(p.area().viewport()->rect().contains(frame->geometry()));
        QSignalSpy generated(outputs.first(), &OutputWindow::generated);
        QVERIFY(generated.wait(2000));
        QVERIFY(frame->close());
        QTRY_COMPARE(p.area().activeSubWindow(), openerFrame);
    }

    void quitStopsTheRecordBeingWritten() {
        Program p;
        // A record that would take as long as a disk likes (50,000 block files can take half
        // a minute): it goes on until it is told to stop, as the real writer does between files.
        std::atomic<bool> writing = false;
        std::atomic<bool> told = false;
        p.startAndSettle([&](const korvex::engine::WorkingRecord& record,
                             const std::filesystem::path& folder,
                             const RecordWriter::StopQuery& stopped) {
            return korvex::engine::writeWorkingFiles(record, folder, false, [&] {
                writing = true;
                while (!stopped()) {
                    std::this_thread::yield();
                }
                told = true;
                return true;
            });
        });
        RecordWriter& writer = p.window->state().recordWriter;
        writer.write(someRecord(p), korvex::platform::toPath(p.folder.path()));
        QTRY_VERIFY(writing);
        QVERIFY(p.window->close());
        QVERIFY(told);
        // Cut short: no working file stands for the blocks that were never written.
        QVERIFY(!QFile::exists(p.path("Temp.txt")));
        QVERIFY(!QFile::exists(p.path("Temp/1.txt")));
    }

    void lastProject_data() {
        QTest::addColumn<QByteArray>("record");    // Extra/Last.dat; empty: no file
        QTest::addColumn<QString>("projectPath");  // empty: "Last Project not found."
        QTest::newRow("missing") << QByteArray() << "";
        QTest::newRow("its file gone, said so")
            << QByteArray("\"Gone\",\"Projects\",\"Projects\\Gone.ini\"") << "";
        QTest::newRow("example") << QByteArray("\"Letter\",\"Examples\",\"Examples\\Letter.ini\"")
                                 << "Examples\\Letter";
    }
    void lastProject() {
        QFETCH(QByteArray, record);
        QFETCH(QString, projectPath);
        Program p;
        QVERIFY(p.write("Examples/Letter.ini", "Dear friend\r\n"));
        QVERIFY(record.isEmpty() || p.write("Extra/Last.dat", record));
        p.startAndSettle();
        if (projectPath.isEmpty()) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        p.window->findChild<QAction*>("LastProject")->trigger();

        QCOMPARE(p.dialogs.problems(), QString());
        const QList<EditorWindow*> opened = p.children<EditorWindow>();
        if (projectPath.isEmpty()) {
            const QString gone = record.isEmpty()
                                     ? QString()
                                     : "\n\nThe last project, \"Gone\", is no longer there: \"" +
                                           p.path("Projects/Gone.ini") + "\" does not exist.";
            QCOMPARE(p.dialogs.shown().at(0).text, "Last Project not found." + gone);
            QVERIFY(opened.isEmpty());
            return;
        }
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0]->windowTitle(), QString("Letter"));
        QCOMPARE(p.window->state().prgFolder, korvex::store::ProjectFolder::Examples);
        QSignalSpy loaded(opened[0], &EditorWindow::loaded);
        QVERIFY(loaded.wait(2000));
        QCOMPARE(opened[0]->projectPath(), projectPath);
    }

    void aboutTakesTheYearFromTheDate() {
        Program p;
        p.startAndSettle();
        p.window->setToday([] { return QDate(2031, 12, 30); });
        p.dialogs.expectMessage(BoxKind::Information);
        p.window->findChild<QAction*>("AboutX")->trigger();
        QCOMPARE(p.dialogs.problems(), QString());
        const QString text = p.dialogs.shown().at(0).text;
        QVERIFY2(text.contains("2031") && text.contains("Korvex5 5.00") &&
                     text.contains(p.folder.path()),
                 qPrintable(text));
    }

    void windowsMenuListsTheOpenWindows() {
        Program p;
        p.startAndSettle();
        QMdiSubWindow* first = p.window->addChild(new TestChild(p.window->state(), "A"));
        first->setWindowTitle("Letter & Co");
        QMdiSubWindow* second = p.window->addChild(new TestChild(p.window->state(), "B"));
        second->setWindowTitle("Poem");
        p.area().setActiveSubWindow(second);
        auto entries = [&p] {
            auto* menu = p.window->findChild<QMenu*>("Windows");
            emit menu->aboutToShow();
            QStringList shown;
            const QList<QAction*> actions = menu->actions();
            for (auto it = actions.begin() +
                           actions.indexOf(p.window->findChild<QAction*>("ProjectsX")) + 1;
                 it != actions.end(); ++it) {
                shown << (*it)->text() + ((*it)->isChecked() ? " *" : "");
            }
            return std::pair{shown, actions.mid(actions.size() - shown.size())};
        };
        QCOMPARE(entries().first, (QStringList{"&1 Letter && Co", "&2 Poem *"}));
        entries().second.front()->trigger();
        QCOMPARE(p.area().activeSubWindow(), first);
        second->close();
        QCOMPARE(entries().first, QStringList{"&1 Letter && Co *"});
    }

    void arrangementCommandsTileTheOpenChildren() {
        Program p;
        p.startAndSettle();
        QMdiSubWindow* first = p.window->addChild(new TestChild(p.window->state(), "A"));
        QMdiSubWindow* second = p.window->addChild(new TestChild(p.window->state(), "B"));
        const QRect area = p.area().viewport()->rect();

        p.window->findChild<QAction*>("HorizontalX")->trigger();
        QCOMPARE(QRect(first->geometry().topLeft(), second->geometry().bottomRight()), area);
        QCOMPARE(first->width(), area.width());

        qobject_cast<QPushButton*>(p.child(mainControls::vertical))->click();  // Vertical
        QCOMPARE(QRect(first->geometry().topLeft(), second->geometry().bottomRight()), area);
        QCOMPARE(first->height(), area.height());

        // A cascade keeps sizes that can be used, and gives one that cannot a usable one.
        first->resize(area.width() / 2, area.height() / 2);
        second->resize(40, 30);
        qobject_cast<QPushButton*>(p.child("Command3"))->click();
        QCOMPARE(first->size(), QSize(area.width() / 2, area.height() / 2));
        QCOMPARE(second->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3));
        QVERIFY(second->y() > first->y() && second->x() > first->x());
        QVERIFY(area.contains(second->geometry()));
    }

    void restoredMainWindowFitsTheWorkArea_data() {
        QTest::addColumn<QRect>("work");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("framed") << QRect(0, 0, 1000, 800) << QSize(10, 40)
                                << QRect(100, 100, 800, 640);
        QTest::newRow("frame not known yet")
            << QRect(0, 30, 1000, 770) << QSize(0, 0) << QRect(100, 122, 800, 616);
    }
    void restoredMainWindowFitsTheWorkArea() {
        QFETCH(QRect, work);
        QFETCH(QSize, frame);
        QFETCH(QRect, placed);
        const QRect restored = restoredGeometry(work, frame, 30);
        QCOMPARE(restored, placed);
        // The title bar above the window stays inside the area.
        QVERIFY(restored.top() - std::max(frame.height(), 30) >= work.top());
    }

    void menusReachEveryCommandByKeyboard_data() {
        QTest::addColumn<QString>("window");  // "editor" or "output"
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("button");  // the toolbar button it presses
        QTest::addColumn<bool>("warns");      // no runtime template in this folder
        QTest::newRow("import") << "editor"
                                << "ImportFromTextX"
                                << "Command6" << false;
        QTest::newRow("runtime") << "editor"
                                 << "CreateRuntimeX"
                                 << "Command8" << true;
        QTest::newRow("word wrap") << "editor"
                                   << "WordWrapX"
                                   << "Command1" << false;
        QTest::newRow("larger font") << "editor"
                                     << "FontLargerX"
                                     << "Command2" << false;
        QTest::newRow("smaller font") << "editor"
                                      << "FontSmallerX"
                                      << "Command7" << false;
        QTest::newRow("stats") << "output"
                               << "StatsX"
                               << "Command4" << false;
    }
    void menusReachEveryCommandByKeyboard() {
        QFETCH(QString, window);
        QFETCH(QString, action);
        QFETCH(QString, button);
        QFETCH(bool, warns);
        Program p;
        QVERIFY(p.write("Projects/Song.ini", "la\r\n"));
        p.startAndSettle();
        QWidget* child = nullptr;
        if (window == "editor") {
            p.window->openEditor("Song");
            QTRY_VERIFY(!p.children<EditorWindow>().isEmpty());
            child = p.children<EditorWindow>().first();
        } else {
            p.window->openOutput("Song", "Projects\\Song");
            QTRY_VERIFY(!p.children<OutputWindow>().isEmpty());
            child = p.children<OutputWindow>().first();
        }
        // Not the window's own key preview: the sub-window holds each command's button.
        auto* pressed = child->findChild<QToolButton*>(button);
        QSignalSpy clicks(pressed, &QToolButton::clicked);
        auto* item = child->findChild<QAction*>(action);
        QVERIFY(item != nullptr);
        if (warns) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        item->trigger();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(p.dialogs.problems(), QString());
        // File, Windows and Quit have keys in every window.
        for (const QString& menu : {QStringLiteral("FileX"), QStringLiteral("Windows")}) {
            QVERIFY(child->findChild<QMenu*>(menu)->title().startsWith('&'));
        }
        QCOMPARE(child->findChild<QAction*>("QuitX")->shortcut(), QKeySequence("Ctrl+Shift+Q"));
    }

    void projectsManagerOverAMaximisedEditorIsDrawnWhole() {
        Program p;
        QVERIFY(p.write("Projects/Song.ini", "la\r\n"));
        p.startAndSettle();
        p.window->openEditor("Song");
        QTRY_VERIFY(!p.children<EditorWindow>().isEmpty());
        QMdiSubWindow* editor = p.area().subWindowList().last();
        editor->showMaximized();
        QTRY_VERIFY(editor->isMaximized());

        QTest::keyClick(p.window.get(), Qt::Key_F3);
        QMdiSubWindow* manager = p.area().activeSubWindow();
        QVERIFY(manager != nullptr && manager != editor);
        QTRY_COMPARE(manager->size(), QSize(twips(4900), twips(6645)));
        QVERIFY(!manager->isMaximized());
        QVERIFY(editor->isMaximized());
    }
};

KORVEX_QTEST(MainWindowTest)

#include "main_window_test.moc"
