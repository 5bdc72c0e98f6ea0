#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "editor/editor_window.h"
#include "editor/import_window.h"
#include "output/output_window.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "runtime/runtime_creation.h"
#include "shell/main_controls.h"
#include "shell/main_toolbar.h"
#include "shell/new_project_dialog.h"
#include "shell/program_info.h"
#include "shell/projects_manager.h"
#include "shell/tray.h"
#include "shell/window_arrangement.h"
#include "store/last_project.h"
#include "store/project_list.h"
#include "widgets/opener.h"
#include "widgets/shared_menus.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::fromPath;
using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kTickMs = 100;
constexpr int kMinimumWidthTwips = 3765;
constexpr int kBesideOffsetTwips = 200;

}  // namespace

MainWindow::MainWindow(platform::Dialogs& dialogs, platform::Desktop& desktop, store::AppFolder app,
                       RecordWriter::WriteFunction writeRecord, QWidget* parent)
    : QMainWindow(parent),
      recordWriter_(std::move(writeRecord)),
      state_(std::move(app), dialogs, desktop, random_, recordWriter_, *this),
      mdiArea_(new QMdiArea),
      toolBar_(new MainToolBar),
      startTimer_(new QTimer(this)),
      watchTimer_(new QTimer(this)) {
    setObjectName(mainControls::window);
    setMinimumWidth(twips(kMinimumWidthTwips));

    auto* frame = new QWidget;
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(frame);
    mdiArea_->setObjectName(QStringLiteral("MDIArea"));
    // A window opened over a maximised one keeps its own size, and the maximised one stays so
    // behind it (the Projects Manager would otherwise be maximised at its fixed size).
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::showMenusOf);

    createMenus();
    createToolBar();
    // The design look, until the settings say otherwise.
    toolBar_->setColours(toColor(store::kDarkGrey), std::nullopt);

    for (const std::string& name :
         store::listProjects(state_.app.projects(), store::ListPattern::AllFiles)) {
        startupProjects_ << toQString(name);
    }
    tray_ = new Tray(*this, *mdiArea_->viewport(), state_, startupProjects_);

    watchTimer_->setObjectName(mainControls::watchTimer);
    watchTimer_->setInterval(kTickMs);
    connect(watchTimer_, &QTimer::timeout, this, &MainWindow::followOpenWindows);
    watchTimer_->start();
    followOpenWindows();

    startTimer_->setObjectName(QStringLiteral("StartUp"));
    startTimer_->setSingleShot(true);
    startTimer_->setInterval(kTickMs);
    connect(startTimer_, &QTimer::timeout, this, &MainWindow::start);
    startTimer_->start();
}

MainWindow::~MainWindow() {
    // Child windows reach the shared state while they close: let them go first.
    delete mdiArea_;
    mdiArea_ = nullptr;
}

void MainWindow::createMenus() {
    auto* file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("FileX"));
    addProjectItems(file, *this, {});
    file->addSeparator();
    QAction* setting = file->addAction(QStringLiteral("Setting..."));
    setting->setObjectName(QStringLiteral("SettingX"));
    setting->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(setting, &QAction::triggered, this, &MainWindow::editSettings);
    file->addSeparator();
    addQuitItem(file, *this);

    windowsMenu_ = createWindowsMenu(this, *this);
    mainMenus_ = {file, windowsMenu_, createHelpMenu(this, *this, QStringLiteral("MenuHelpX"))};
    showMenusOf(nullptr);
}

void MainWindow::createToolBar() {
    using Group = MainToolBar::Group;
    using Focus = MainToolBar::Focus;
    QStyle* look = style();
    auto add = [this](Group group, const char* name, const char* tip, const QIcon& icon,
                      std::function<void()> command, Focus focus = Focus::ToBar) {
        return toolBar_->addButton(group, QString::fromLatin1(name), QString::fromLatin1(tip), icon,
                                   focus, std::move(command));
    };
    add(Group::Left, mainControls::newProject, "Add New Project (or press F2)",
        look->standardIcon(QStyle::SP_FileIcon), [this] { newProject(); });
    add(Group::Left, mainControls::openProjects, "Open Projects (or Press F3)",
        look->standardIcon(QStyle::SP_DirOpenIcon), [this] { openProjects(QString()); });
    add(Group::Left, mainControls::lastProjects, "Last Projects (or Press F4)",
        look->standardIcon(QStyle::SP_BrowserReload), [this] { lastProject(); });
    toolBar_->setArrangementButtons({
        add(Group::Left, mainControls::cascade, "Cascade", drawnIcon(Picture::Cascade),
            [this] { cascade(); }),
        add(Group::Left, mainControls::horizontal, "Horizontal", drawnIcon(Picture::Horizontal),
            [this] { tileHorizontally(); }),
        add(Group::Left, mainControls::vertical, "Vertical", drawnIcon(Picture::Vertical),
            [this] { tileVertically(); }),
        add(Group::Left, mainControls::closeAll, "Close all",
            look->standardIcon(QStyle::SP_DialogCloseButton), [this] { closeAll(false); }),
    });
    add(Group::Right, mainControls::settings, "Setting...",
        look->standardIcon(QStyle::SP_FileDialogDetailedView), [this] { editSettings(); });
    add(Group::Right, mainControls::projectsManager, "Projects Manager...",
        look->standardIcon(QStyle::SP_DirIcon), [this] { browseProjects(); });
    add(Group::Right, mainControls::examples, "Examples...",
        look->standardIcon(QStyle::SP_FileDialogContentsView), [this] { examples(); });
    // Help leaves the focus on its button.
    add(
        Group::Right, mainControls::help, "Help offline...",
        look->standardIcon(QStyle::SP_MessageBoxQuestion), [this] { help(); }, Focus::Keep);
    add(Group::Right, mainControls::webSite, "Official Web Site...", drawnIcon(Picture::WebSite),
        [this] { openWebSite(); });
}

void MainWindow::start() {
    startTimer_->stop();
    setWindowTitle(mainWindowTitle());
    applySettings();
    emit started();
}

void MainWindow::applySettings() {
    state_.settings = store::loadSettings(state_.app);
    const store::Settings& settings = state_.settings;
    toolBar_->setVisible(settings.showMainBar);
    std::optional<QColor> panel;
    if (settings.mainBarButtonsColour) {
        panel = toColor(*settings.mainBarButtonsColour);
    }
    toolBar_->setColours(toColor(settings.mainBarColour), panel);
    if (settings.backgroundColour) {
        mdiArea_->setBackground(toColor(*settings.backgroundColour));
    }
}

void MainWindow::followOpenWindows() {
    const bool open = state_.openWindows > 0;
    windowsMenu_->menuAction()->setVisible(open);
    toolBar_->setArrangementButtonsVisible(open);
}

void MainWindow::showMenusOf(QMdiSubWindow* subWindow) {
    auto* child = subWindow != nullptr ? dynamic_cast<ChildWindow*>(subWindow->widget()) : nullptr;
    const QList<QMenu*> menus = child != nullptr ? child->menuBarMenus() : mainMenus_;
    QMenuBar* bar = menuBar();
    for (QAction* action : bar->actions()) {
        bar->removeAction(action);
    }
    for (QMenu* menu : menus) {
        bar->addMenu(menu);
    }
}

void MainWindow::newProject() {
    // One dialog at a time, loaded afresh by every opener.
    if (newProjectDialog_ != nullptr) {
        closeChildWindow(newProjectDialog_);
    }
    newProjectDialog_ = new NewProjectDialog(state_);
    addChild(newProjectDialog_);
}

void MainWindow::newProjectFromManager() {
    newProject();
    newProjectDialog_->setFromProjectsManager(true);
}

void MainWindow::openProjects(const QString& filePath) {
    openProjectsManager(filePath);
}

void MainWindow::examples() {
    openProjectsManager(QString())->switchToExamples();
}

ProjectsManager* MainWindow::openProjectsManager(const QString& filePath) {
    auto* manager = new ProjectsManager(state_);
    manager->setFilePath(filePath);
    addChild(manager);
    return manager;
}

void MainWindow::lastProject() {
    const std::optional<store::LastProject> last = store::readLastProject(state_.app);
    if (!last) {
        state_.dialogs.warning(this, kProgramTitle, QStringLiteral("Last Project not found."));
        return;
    }
    // A record of a project deleted or renamed since would open an empty editor.
    if (const std::filesystem::path file =
            state_.app.folder(last->folder) / (last->name + std::string(store::kProjectExtension));
        !std::filesystem::is_regular_file(file)) {
        state_.dialogs.warning(
            this, kProgramTitle,
            QStringLiteral("Last Project not found.\n\nThe last project, \"%1\", is no longer "
                           "there: \"%2\" does not exist.")
                .arg(toQString(last->name), fromPath(file)));
        return;
    }
    state_.prgFolder = last->folder;
    openEditor(toQString(last->name));
}

void MainWindow::quit() {
    close();
}

void MainWindow::cascade() {
    ui::cascade(*mdiArea_);
}

void MainWindow::tileHorizontally() {
    tile(*mdiArea_, Qt::Vertical);
}

void MainWindow::tileVertically() {
    tile(*mdiArea_, Qt::Horizontal);
}

void MainWindow::closeAll(bool clearOpenWindowList) {
    // A child that refuses (its user kept it) ends the round and stays open; the list then
    // still counts it.
    if (closeSubWindows(*mdiArea_) && clearOpenWindowList) {
        state_.openWindows = 0;
    }
}

void MainWindow::help() {
    openDocument(fromPath(state_.app.helpFile()));
}

void MainWindow::openDocument(const QString& pathOrAddress) {
    if (!state_.desktop.openDocument(pathOrAddress)) {
        state_.dialogs.warning(this, kProgramTitle, documentNotOpenedText(pathOrAddress));
    }
}

void MainWindow::about() {
    state_.dialogs.information(this, kProgramTitle,
                               aboutText(today_(), fromPath(state_.app.root())));
}

void MainWindow::editSettings() {
    state_.desktop.startProgram(fromPath(state_.app.externalEditor()),
                                {fromPath(state_.app.settingFile())});
}

void MainWindow::browseProjects() {
    const QString folder = fromPath(state_.app.projects());
    if (!state_.desktop.openFolder(folder)) {
        state_.dialogs.warning(this, kProgramTitle, folderNotShownText(folder));
    }
}

void MainWindow::openWebSite() {
    openDocument(kWebSite);
}

QMdiSubWindow* MainWindow::addChild(QWidget* window) {
    QMdiSubWindow* subWindow = mdiArea_->addSubWindow(window);
    // The sub-window's own menu binds Ctrl+W and Ctrl+F4, which would make the same keys of
    // the child's menus ambiguous so that neither fires.
    if (QMenu* system = subWindow->systemMenu()) {
        for (QAction* action : system->actions()) {
            action->setShortcuts({});
        }
    }
    window->show();
    subWindow->show();
    // The area may place a window that has just taken its full size partly outside itself.
    const QSize room = mdiArea_->viewport()->size() - subWindow->size();
    subWindow->move(std::clamp(subWindow->x(), 0, std::max(0, room.width())),
                    std::clamp(subWindow->y(), 0, std::max(0, room.height())));
    return subWindow;
}

void MainWindow::openOutput(const QString& title, const QString& projectPath,
                            QWidget* besideWindow) {
    auto* window = new OutputWindow(state_);
    window->setWindowTitle(title);
    window->setProjectPath(projectPath);
    QMdiSubWindow* subWindow = addChild(window);
    if (besideWindow != nullptr) {
        QWidget* beside = besideWindow->parentWidget() != nullptr &&
                                  qobject_cast<QMdiSubWindow*>(besideWindow->parentWidget())
                              ? besideWindow->parentWidget()
                              : besideWindow;
        placeInsideArea(*subWindow, beside->pos() + QPoint(twips(kBesideOffsetTwips),
                                                           twips(kBesideOffsetTwips)));
        activateOpenerOnClose(subWindow, beside);
    }
}

void MainWindow::openEditor(const QString& projectName) {
    // A hidden child until the area takes it; in external-editor mode it is never shown.
    auto* editor = new editor::EditorWindow(state_, this);
    editor->setWindowTitle(projectName);
    if (!editor->worksOutOfSight()) {
        addChild(editor);
    }
}

void MainWindow::createRuntime(const QString& title, const QString& projectPath) {
    if (title.isEmpty()) {
        return;
    }
    // Included files the runtime cannot take along are named before anything is made.
    const runtime::ScriptIncludes includes =
        runtime::scriptIncludes(state_.app, toUtf8(projectPath));
    if (!includes.uncarried.empty()) {
        QStringList names;
        for (const std::string& path : includes.uncarried) {
            names << QStringLiteral("\"%1\"").arg(toQString(path));
        }
        const platform::Answer answer = state_.dialogs.question(
            this, kProgramTitle,
            QStringLiteral("The runtime cannot take these included files along: %1. It would "
                           "read them where they are now, so on another computer its texts "
                           "would lack them. Create it anyway?")
                .arg(names.join(QStringLiteral(", "))),
            platform::Buttons::YesNo, platform::Answer::No);
        if (answer != platform::Answer::Yes) {
            return;
        }
    }
    const store::Outcome made =
        runtime::createRuntime(state_.app, toUtf8(title), toUtf8(projectPath));
    // A runtime that was not made leaves nothing to show.
    if (!made) {
        state_.dialogs.warning(this, kProgramTitle, toQString(made.message()));
        return;
    }
    const QString folder = fromPath(state_.app.compiled());
    if (!state_.desktop.openFolder(folder)) {
        state_.dialogs.warning(this, kProgramTitle, folderNotShownText(folder));
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (isMinimized()) {
        tray_->windowMinimised();
        return;
    }
    const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if (old.testFlag(Qt::WindowMaximized) && windowState() == Qt::WindowNoState) {
        // Leave the state change before placing the window.
        QTimer::singleShot(0, this, &MainWindow::fitRestoredWindow);
    }
}

void MainWindow::fitRestoredWindow() {
    const QScreen* screen = this->screen();
    if (screen == nullptr || isMaximized() || isMinimized()) {
        return;
    }
    const QRect work = screen->availableGeometry();
    if (work.contains(frameGeometry())) {
        return;
    }
    setGeometry(restoredGeometry(work, frameGeometry().size() - size(),
                                 style()->pixelMetric(QStyle::PM_TitleBarHeight)));
}

QRect restoredGeometry(const QRect& workArea, const QSize& frameExtra, int titleBarHeight) {
    // Before a window manager has framed the window its frame is unknown: allow a title bar.
    const QSize frame = frameExtra.isEmpty() ? QSize(0, titleBarHeight) : frameExtra;
    const QSize inner = workArea.size() * 4 / 5;
    const QPoint corner =
        workArea.topLeft() + QPoint((workArea.width() - inner.width()) / 2,
                                    (workArea.height() - inner.height() + frame.height()) / 2);
    return {corner, inner};
}

void MainWindow::openImport() {
    // One import window at a time: opening it again starts afresh.
    if (importWindow_ != nullptr) {
        closeChildWindow(importWindow_);
    }
    importWindow_ = new editor::ImportWindow(state_);
    addChild(importWindow_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closeSubWindows(*mdiArea_)) {
        event->ignore();
        return;
    }
    // Quitting never waits for the record of a big generation: the writer stops at its next
    // file (it may be writing Temp.txt, which deleting first would let it bring back).
    recordWriter_.stop();
    std::error_code ignored;
    std::filesystem::remove(state_.app.workingFile(), ignored);
    tray_->removeIcon();
    event->accept();
}

}  // namespace korvex::ui
