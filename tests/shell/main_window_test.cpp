#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <thread>

#include "engine/generate.h"
#include "output/output_window.h"
#include "platform/engine_host.h"
#include "platform/twips.h"
#include "shell/main_toolbar.h"
#include "shell/program_info.h"
#include "shell/window_arrangement.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::BoxKind;
using korvex::platform::twips;
using korvex::testing::Program;
using korvex::testing::RecordingDesktop;
using namespace korvex::ui;

namespace {

/// A child window with a menu of its own, counted in the open-window list, that closes only
/// when it is allowed to.
class TestChild : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    TestChild(SharedState& state, const QString& name)
        : state_(state), menu_(new QMenu("Child", this)) {
        setObjectName(name);
        setWindowTitle(name);
        menu_->setObjectName(name + "Menu");
        addItem("GenerateX", Qt::Key_F5);
        addItem("ExportInWebPageX", QKeySequence(Qt::CTRL | Qt::Key_W));
        addItem("CloseX", QKeySequence(Qt::CTRL | Qt::Key_F4));
        state_.windowOpened();
    }
    QList<QMenu*> menuBarMenus() const override { return {menu_}; }

    bool refuses = false;
    QStringList triggered;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuses) {
            event->ignore();
            return;
        }
        if (!closed_) {
            closed_ = true;
            state_.windowClosed();
        }
        event->accept();
    }

private:
    void addItem(const QString& name, const QKeySequence& key) {
        QAction* action = menu_->addAction(name);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, name] { triggered << name; });
    }

    SharedState& state_;
    QMenu* menu_;
    bool closed_ = false;
};

QColor windowColour(const QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

/// The working record of a generation from a script of `blocks` blocks.
korvex::engine::WorkingRecord recordOf(int blocks, Program& p) {
    QByteArray script;
    for (int i = 0; i < blocks; ++i) {
        script += "{a|b}\r\n";
    }
    if (!p.write("Projects/Many.ini", script)) {
        return {};
    }
    korvex::engine::Options options;
    options.appFolder = korvex::platform::toPath(p.folder.path());
    korvex::platform::EngineHost host(p.dialogs, kProgramTitle);
    korvex::engine::Random random(1);
    return korvex::engine::generate("Projects\\Many", options, host, random).record;
}

using Request = RecordingDesktop::Request;
using Action = RecordingDesktop::Action;

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
        QTest::newRow("no file") << QByteArray() << true << QColor(64, 64, 64) << QColor()
                                 << QColor();
        QTest::newRow("toolbar hidden") << QByteArray("show_main_bar = 0\r\n") << false
                                        << QColor(64, 64, 64) << QColor() << QColor();
        QTest::newRow("colours") << QByteArray(
                                        "Color_Main_Bar=#FF0000\r\nbackground_color = #0000ff")
                                 << true << QColor(255, 0, 0) << QColor(255, 0, 0)
                                 << QColor(0, 0, 255);
    }
    void startUpSetsTitleAndAppliesSettings() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, barShown);
        QFETCH(QColor, bar);
        QFETCH(QColor, panel);
        QFETCH(QColor, background);
        Program p;
        if (!settings.isEmpty()) {
            QVERIFY(p.write("Extra/Setting.ini", settings));
        }
        QVERIFY(p.write("Projects/b.ini", "x"));
        QVERIFY(p.write("Projects/a.ini.ini", "x"));
        const QBrush designBackground = QMdiArea().background();

        p.start();
        QVERIFY(p.window->windowTitle() != mainWindowTitle());  // not before the tick
        QCOMPARE(p.window->startupProjects(), (QStringList{"a", "b"}));
        QSignalSpy started(p.window.get(), &MainWindow::started);
        QVERIFY(started.wait(2000));
        QCOMPARE(p.window->windowTitle(), mainWindowTitle());
        QVERIFY(mainWindowTitle().contains("Korvex5") && mainWindowTitle().contains("5.00"));

        auto* toolBar = p.window->findChild<QWidget*>("Picture2");
        auto* rightPanel = p.window->findChild<QWidget*>("Picture4");
        QVERIFY(toolBar && rightPanel);
        QCOMPARE(toolBar->isVisibleTo(p.window.get()), barShown);
        QCOMPARE(windowColour(toolBar), bar);
        QCOMPARE(windowColour(rightPanel),
                 panel.isValid() ? panel : QApplication::palette().color(QPalette::Window));
        QCOMPARE(p.area().background().color(),
                 background.isValid() ? background : designBackground.color());
    }

    void windowsMenuAndArrangementButtonsFollowOpenWindows() {
        Program p;
        p.startAndSettle();
        auto* windows = p.window->findChild<QMenu*>("Windows");
        QVERIFY(windows != nullptr);
        QList<QPushButton*> arrangement;
        for (const char* name : {"Command3", "Command4", "Command5", "Command6"}) {
            arrangement << p.window->findChild<QPushButton*>(name);
            QVERIFY(arrangement.last() != nullptr);
        }
        auto shown = [&](bool expected) {
            if (windows->menuAction()->isVisible() != expected) {
                return false;
            }
            for (QPushButton* button : arrangement) {
                if (button->isVisibleTo(p.window.get()) != expected) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(shown(false));
        auto* child = new TestChild(p.window->state(), "A");
        p.window->addChild(child);
        QTRY_VERIFY(shown(true));
        p.window->closeAll(true);
        QTRY_VERIFY(shown(false));
        // The New Project dialog is no open window.
        p.window->newProject();
        QTest::qWait(250);
        QVERIFY(shown(false));
    }

    void toolbarButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Request>("request");
        QTest::addColumn<bool>("keepsFocus");
        QTest::newRow("Setting...")
            << "Command8"
            << Request{Action::StartProgram, "Extra/Notepad2.exe", {"Extra/Setting.ini"}} << false;
        QTest::newRow("Projects Manager... shows the folder")
            << "Command12" << Request{Action::OpenFolder, "Projects", {}} << false;
        QTest::newRow("Help offline...")
            << "Command10" << Request{Action::OpenDocument, "Extra/Help.html", {}} << true;
        QTest::newRow("Official Web Site...")
            << "Command9" << Request{Action::OpenDocument, kWebSite, {}} << false;
    }
    void toolbarButtons() {
        QFETCH(QString, button);
        QFETCH(Request, request);
        QFETCH(bool, keepsFocus);
        Program p;
        p.startAndSettle();
        p.window->newProject();
        auto* name = p.window->findChild<QWidget*>("Text1");
        QTRY_COMPARE(QApplication::focusWidget(), name);

        p.window->findChild<QPushButton*>(button)->click();
        if (request.action != Action::OpenDocument || request.target != kWebSite) {
            request.target = p.path(request.target);
        }
        for (QString& argument : request.arguments) {
            argument = p.path(argument);
        }
        QCOMPARE(p.desktop.requests(), std::vector<Request>{request});
        QCOMPARE(QApplication::focusWidget(),
                 keepsFocus ? name : p.window->findChild<QWidget*>("Picture2"));
    }

    void projectsManagerCommandsWaitForTheManager() {
        Program p;
        p.startAndSettle();
        QVERIFY(!p.window->canOpenProjects());
        QVERIFY(!p.window->findChild<QPushButton*>("Command2")->isEnabled());
        QVERIFY(!p.window->findChild<QPushButton*>("Command11")->isEnabled());
        QVERIFY(!p.window->findChild<QAction*>("OpenProjectX")->isEnabled());
    }

    void rightPanelStaysBeforeTheRightEdge() {
        Program p;
        p.startAndSettle();
        auto* toolBar = p.window->findChild<QWidget*>("Picture2");
        auto* panel = p.window->findChild<QWidget*>("Picture4");
        for (int width : {1200, 700, 10}) {
            p.window->resize(width, 600);
            QTRY_COMPARE(panel->geometry().right() + 1, toolBar->width() - twips(120));
        }
        QCOMPARE(p.window->width(), twips(3765));  // never narrower
    }

    void mainShortcuts_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("desktopTarget");  // what the desktop is asked to open
        QTest::addColumn<QString>("warning");        // the warning box shown
        QTest::addColumn<bool>("newProject");        // a New Project dialog appears
        QTest::newRow("F1 help") << int(Qt::Key_F1) << 0 << "Extra/Help.html"
                                 << "" << false;
        QTest::newRow("Ctrl+S setting")
            << int(Qt::Key_S) << int(Qt::ControlModifier) << "Extra/Notepad2.exe"
            << "" << false;
        QTest::newRow("F2 new project") << int(Qt::Key_F2) << 0 << ""
                                        << "" << true;
        QTest::newRow("F3 waits for the manager") << int(Qt::Key_F3) << 0 << ""
                                                  << "" << false;
        QTest::newRow("F4 last project") << int(Qt::Key_F4) << 0 << ""
                                         << "Last Project not found." << false;
    }
    void mainShortcuts() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, desktopTarget);
        QFETCH(QString, warning);
        QFETCH(bool, newProject);
        Program p;
        p.startAndSettle();
        if (!warning.isEmpty()) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        QTest::keyClick(p.window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(p.dialogs.problems(), QString());
        if (!warning.isEmpty()) {
            QCOMPARE(p.dialogs.shown().at(0).text, warning);
            QCOMPARE(p.dialogs.shown().at(0).parent, p.window.get());
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
        p.area().setActiveSubWindow(sub);
        QTRY_COMPARE(p.menuBarNames(), QStringList{"AMenu"});

        // The sub-window's own Ctrl+W and Ctrl+F4 must not shadow the child's.
        QTest::keyClick(child, Qt::Key_F5);
        QTest::keyClick(child, Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(child, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(child->triggered, (QStringList{"GenerateX", "ExportInWebPageX", "CloseX"}));
        QVERIFY(sub->isVisible());
        // The main window's own items are out of the menu bar, and so are their keys.
        QTest::keyClick(child, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(p.desktop.requests().empty());

        sub->close();
        QTRY_COMPARE(p.menuBarNames(), mainMenus);
    }

    void closeAllAndQuitStopAtARefusingChild() {
        Program p;
        p.startAndSettle();
        QVERIFY(p.write("Temp.txt", "record"));
        auto* kept = new TestChild(p.window->state(), "Kept");
        auto* other = new TestChild(p.window->state(), "Other");
        QMdiSubWindow* keptSub = p.window->addChild(kept);
        QMdiSubWindow* otherSub = p.window->addChild(other);
        kept->refuses = true;

        p.area().setActiveSubWindow(keptSub);
        p.window->closeAll(true);
        QVERIFY(keptSub->isVisible() && otherSub->isVisible());  // stopped at the first
        QCOMPARE(p.window->state().openWindows, 2);

        p.area().setActiveSubWindow(otherSub);
        p.window->closeAll(true);
        QTRY_COMPARE(p.children<TestChild>(), QList<TestChild*>{kept});
        QCOMPARE(p.area().currentSubWindow(), keptSub);
        QCOMPARE(p.window->state().openWindows, 1);  // the list still counts it

        QVERIFY(!p.window->close());
        QVERIFY(p.window->isVisible());
        QVERIFY(QFile::exists(p.path("Temp.txt")));

        kept->refuses = false;
        QVERIFY(p.window->close());
        QVERIFY(!QFile::exists(p.path("Temp.txt")));
    }

    void closeAllClearsTheListOnlyFromTheMenu_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<int>("left");
        QTest::newRow("menu item") << true << 0;
        QTest::newRow("button") << false << 1;
    }
    void closeAllClearsTheListOnlyFromTheMenu() {
        QFETCH(bool, fromMenu);
        QFETCH(int, left);
        Program p;
        p.startAndSettle();
        p.window->addChild(new TestChild(p.window->state(), "A"));
        p.window->state().windowOpened();  // an entry no window will remove
        if (fromMenu) {
            p.window->findChild<QAction*>("CloseAllX")->trigger();
        } else {
            p.window->findChild<QPushButton*>("Command6")->click();
        }
        QTRY_VERIFY(p.children<TestChild>().isEmpty());
        QCOMPARE(p.window->state().openWindows, left);
    }

    void quitDeletesTempTxtOnceTheRecordIsWritten() {
        Program p;
        // A slow disk: the record is still being written when the user quits.
        p.startAndSettle(
            [](const korvex::engine::WorkingRecord& record, const std::filesystem::path& folder) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                return korvex::engine::writeWorkingFiles(record, folder);
            });
        RecordWriter& writer = p.window->state().recordWriter;
        QSignalSpy written(&writer, &RecordWriter::written);
        writer.write(recordOf(3, p), korvex::platform::toPath(p.folder.path()));
        QVERIFY(p.window->close());
        QTRY_COMPARE(written.count(), 1);
        QVERIFY(!QFile::exists(p.path("Temp.txt")));
        QVERIFY(!QDir(p.path("Temp")).isEmpty());  // every other file stays
        QVERIFY(QFile::exists(p.path("Projects/Many.ini")));
    }

    void lastProject_data() {
        QTest::addColumn<QByteArray>("record");  // Extra/Last.dat; empty: no file
        QTest::addColumn<QString>("title");      // empty: "Last Project not found."
        QTest::addColumn<QString>("projectPath");
        QTest::newRow("missing") << QByteArray() << ""
                                 << "";
        QTest::newRow("no name") << QByteArray("\"\",\"Projects\",\"\"\r\n") << ""
                                 << "";
        QTest::newRow("example") << QByteArray(
                                        "\"Letter\",\"Examples\",\"Examples\\Letter.ini\"\r\n")
                                 << "Letter"
                                 << "Examples\\Letter";
        QTest::newRow("project") << QByteArray("\"Song\",\"Projects\",\"Projects\\Song.ini\"\r\n")
                                 << "Song"
                                 << "Projects\\Song";
    }
    void lastProject() {
        QFETCH(QByteArray, record);
        QFETCH(QString, title);
        QFETCH(QString, projectPath);
        Program p;
        QVERIFY(p.write("Examples/Letter.ini", "Dear friend\r\n"));
        QVERIFY(p.write("Projects/Song.ini", "La la\r\n"));
        if (!record.isEmpty()) {
            QVERIFY(p.write("Extra/Last.dat", record));
        }
        p.startAndSettle();
        if (title.isEmpty()) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        p.window->findChild<QAction*>("LastProject")->trigger();
        QCOMPARE(p.dialogs.problems(), QString());

        const QList<OutputWindow*> opened = p.children<OutputWindow>();
        if (title.isEmpty()) {
            QCOMPARE(p.dialogs.shown().at(0).text, QString("Last Project not found."));
            QVERIFY(opened.isEmpty());
            return;
        }
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0]->windowTitle(), title);
        QCOMPARE(opened[0]->projectPath(), projectPath);
        QCOMPARE(QString::fromStdString(
                     std::string(korvex::store::folderName(p.window->state().prgFolder))),
                 projectPath.section('\\', 0, 0));
        QSignalSpy generated(opened[0], &OutputWindow::generated);
        QVERIFY(generated.wait(2000));
    }

    void aboutTakesTheYearFromTheDate() {
        Program p;
        p.startAndSettle();
        p.window->setToday([] { return QDate(2031, 12, 30); });
        p.dialogs.expectMessage(BoxKind::Information);
        p.window->findChild<QAction*>("AboutX")->trigger();
        QCOMPARE(p.dialogs.problems(), QString());
        const QString text = p.dialogs.shown().at(0).text;
        QVERIFY2(text.contains("2031") && text.contains("Korvex5") && text.contains("5.00"),
                 qPrintable(text));
    }

    void tiles_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stacking");
        QTest::addColumn<QList<QRect>>("expected");
        QTest::newRow("none") << 0 << int(Qt::Vertical) << QList<QRect>{};
        QTest::newRow("stacked, spare pixel to the first")
            << 2 << int(Qt::Vertical)
            << QList<QRect>{QRect(10, 20, 300, 101), QRect(10, 121, 300, 100)};
        QTest::newRow("side by side")
            << 3 << int(Qt::Horizontal)
            << QList<QRect>{QRect(10, 20, 100, 201), QRect(110, 20, 100, 201),
                            QRect(210, 20, 100, 201)};
    }
    void tiles() {
        QFETCH(int, count);
        QFETCH(int, stacking);
        QFETCH(QList<QRect>, expected);
        QCOMPARE(korvex::ui::tiles(QRect(10, 20, 300, 201), count, Qt::Orientation(stacking)),
                 expected);
    }

    void arrangementCommandsTileTheOpenChildren() {
        Program p;
        p.startAndSettle();
        QMdiSubWindow* first = p.window->addChild(new TestChild(p.window->state(), "A"));
        QMdiSubWindow* second = p.window->addChild(new TestChild(p.window->state(), "B"));
        const QRect area = p.area().viewport()->rect();

        p.window->findChild<QAction*>("HorizontalX")->trigger();
        QCOMPARE(first->width(), area.width());
        QCOMPARE(second->width(), area.width());
        QCOMPARE(first->height() + second->height(), area.height());

        p.window->findChild<QPushButton*>("Command5")->click();  // Vertical
        QCOMPARE(first->height(), area.height());
        QCOMPARE(first->width() + second->width(), area.width());

        p.window->cascade();
        QVERIFY(first->pos() != second->pos());
    }
};

KORVEX_QTEST(MainWindowTest)

#include "main_window_test.moc"
