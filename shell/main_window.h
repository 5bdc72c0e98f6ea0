#pragma once
#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "engine/random.h"
#include "shell/new_project_dialog.h"
#include "widgets/record_writer.h"
#include "widgets/shared_state.h"

class QMdiArea;
class QMenu;
class QTimer;

namespace korvex::ui {

class MainToolBar;

/// Where the main window goes when it leaves the maximised state and no longer fits
/// `workArea`: four fifths of it each way, centred, its title bar (`frameExtra` the frame's
/// size beyond the window's own, or a title bar of `titleBarHeight` while it is unknown)
/// inside the area.
QRect restoredGeometry(const QRect& workArea, const QSize& frameExtra, int titleBarHeight);
class ProjectsManager;
class Tray;

/// The main window: the frame every other window of the program opens in. It owns
/// the state the windows share, runs the start-up and quit sequences, and carries the toolbar,
/// the menu bar and the commands that open projects and arrange the child windows.
class MainWindow : public QMainWindow, public MainCommands {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;

    /// Loads the window: reads the project list and starts the start-up timer, whose tick
    /// sets the title and applies the settings 100 ms later. `writeRecord` writes the working
    /// files of each generation (engine::writeWorkingFiles unless a test stands in).
    MainWindow(platform::Dialogs& dialogs, platform::Desktop& desktop, store::AppFolder app,
               RecordWriter::WriteFunction writeRecord = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    SharedState& state() { return state_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    /// The projects of `Projects` as listed at start (display names), for the menus of
    /// projects, which show them until the next start.
    const QStringList& startupProjects() const { return startupProjects_; }
    /// The New Project dialog while it is open.
    NewProjectDialog* newProjectDialog() const { return newProjectDialog_; }
    /// The date the About box takes its year from.
    void setToday(Today today) { today_ = std::move(today); }

    // MainCommands
    void newProject() override;
    void newProjectFromManager() override;
    void openProjects(const QString& filePath) override;
    void lastProject() override;
    void quit() override;
    void cascade() override;
    void tileHorizontally() override;
    void tileVertically() override;
    void closeAll(bool clearOpenWindowList) override;
    void help() override;
    void about() override;
    QMdiSubWindow* addChild(QWidget* window) override;
    QMdiArea* childArea() const override { return mdiArea_; }
    void openOutput(const QString& title, const QString& projectPath,
                    QWidget* besideWindow = nullptr) override;
    void openEditor(const QString& projectName) override;
    /// On failure a warning names the file and the reason, and no folder is shown.
    void createRuntime(const QString& title, const QString& projectPath) override;
    void openImport() override;

    /// The main window's other commands.
    void editSettings();
    void browseProjects();
    void examples();
    void openWebSite();

    /// The tray icon and the menus of projects.
    Tray& tray() const { return *tray_; }

signals:
    /// The start-up tick has set the title and applied the settings.
    void started();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    /// The start-up tick.
    void start();
    void applySettings();
    /// The watch timer's tick: the Windows menu and the arrangement buttons follow the open-window
    /// list.
    void followOpenWindows();
    /// The active child's menus in the menu bar, or the main window's when it has none.
    void showMenusOf(QMdiSubWindow* subWindow);
    ProjectsManager* openProjectsManager(const QString& filePath);
    /// After leaving the maximised state: back inside the screen's work area, title bar shown.
    void fitRestoredWindow();
    /// Hands `pathOrAddress` to the desktop, and says why when nothing opened it.
    void openDocument(const QString& pathOrAddress);

    engine::Random random_;
    RecordWriter recordWriter_;
    SharedState state_;
    Today today_ = [] { return QDate::currentDate(); };

    QMdiArea* mdiArea_;
    MainToolBar* toolBar_;
    QList<QMenu*> mainMenus_;
    QMenu* windowsMenu_ = nullptr;
    QTimer* startTimer_;
    QTimer* watchTimer_;
    QPointer<NewProjectDialog> newProjectDialog_;
    QPointer<QWidget> importWindow_;  // while it is open
    QStringList startupProjects_;
    Tray* tray_ = nullptr;
};

}  // namespace korvex::ui
