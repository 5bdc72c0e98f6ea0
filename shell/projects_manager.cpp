#include "shell/projects_manager.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/key_preview.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "shell/program_info.h"
#include "shell/projects_manager_controls.h"
#include "store/last_project.h"
#include "store/project_list.h"
#include "store/projects.h"
#include "widgets/contrast.h"
#include "widgets/shared_state.h"
#include "widgets/toolbar_icons.h"
#include "widgets/toolbar_strip.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::fromPath;
using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kWidthTwips = 4900;
constexpr int kHeightTwips = 6645;
constexpr int kPlaceTwips = 1;
constexpr int kFolderBarHeightTwips = 375;
constexpr int kBrowseRightTwips = 40;
constexpr int kListLeftTwips = 15;
constexpr int kListRightTwips = 20;
constexpr int kLabelGapTwips = 120;
constexpr int kRefreshMs = 100;
constexpr int kExamplesMs = 1;

// A folder label: a link the keyboard reaches too (Space or Enter follows it).
QLabel* folderLabel(const QString& name, const QString& text, QWidget* parent) {
    QLabel* label = namedLabel(name, text, parent);
    label->setFocusPolicy(Qt::TabFocus);
    label->setAccessibleDescription(QStringLiteral("Lists the %1 folder").arg(text));
    return label;
}

// The names in the question, one a line; a long selection ends in a count of the rest.
QString deleteQuestion(const QStringList& names) {
    constexpr int kNamesShown = 10;
    QStringList lines = names.mid(0, kNamesShown);
    if (names.size() > kNamesShown) {
        lines << QStringLiteral("... and %1 more").arg(names.size() - kNamesShown);
    }
    return QStringLiteral("Do you want to delete the selected projects?\n\n") +
           lines.join(QLatin1Char('\n'));
}

}  // namespace

ProjectsManager::ProjectsManager(SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      toolBar_(new QWidget(this)),
      browseButton_(new QToolButton(toolBar_)),
      list_(new QListWidget(this)),
      folderBar_(new QWidget(this)),
      examplesLabel_(
          folderLabel(projectsManagerControls::examples, QStringLiteral("Examples"), folderBar_)),
      projectsLabel_(
          folderLabel(projectsManagerControls::projects, QStringLiteral("Projects"), folderBar_)),
      filePath_(hiddenField(this, QStringLiteral("filePath"))),
      refreshTimer_(oneShotTimer(this, projectsManagerControls::refreshTimer, kRefreshMs)),
      examplesTimer_(oneShotTimer(this, QStringLiteral("ExamplesT"), kExamplesMs)),
      shownFolder_(state.prgFolder) {
    setObjectName(projectsManagerControls::window);
    setWindowTitle(QStringLiteral("Open Project"));
    setAttribute(Qt::WA_DeleteOnClose);
    filePath_->clear();

    list_->setObjectName(projectsManagerControls::list);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    createToolBar();
    createFolderBar();
    markShownFolder();
    setTabOrder(list_, examplesLabel_);
    setTabOrder(examplesLabel_, projectsLabel_);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        // Clearing the list for a refresh forgets nothing.
        if (row < 0) {
            return;
        }
        const QString entry = list_->item(row)->text();
        list_->setToolTip(entry);
        filePath_->setText(entry);
        rememberedIndex_ = row;
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &ProjectsManager::openSelected);
    connect(refreshTimer_, &QTimer::timeout, this, &ProjectsManager::refresh);
    connect(examplesTimer_, &QTimer::timeout, this,
            [this] { showFolder(store::ProjectFolder::Examples); });

    platform::installKeyPreview(this, [this](QKeyEvent& key) { return previewKey(key); });

    state_.windowOpened();
    resize(twips(kWidthTwips), twips(kHeightTwips));
    layoutWindow();
    refreshTimer_->start();
}

void ProjectsManager::createToolBar() {
    toolBar_->setObjectName(projectsManagerControls::toolBar);
    QStyle* look = style();
    const struct {
        const char* name;
        const char* toolTip;
        QIcon icon;
        void (ProjectsManager::*command)();
    } buttons[] = {
        {projectsManagerControls::addNew, "Add New Project (or press F2)",
         QIcon::fromTheme(QStringLiteral("document-new"), look->standardIcon(QStyle::SP_FileIcon)),
         &ProjectsManager::addNewProject},
        {projectsManagerControls::open, "Open Projects (or Press Enter)",
         QIcon::fromTheme(QStringLiteral("document-open"),
                          look->standardIcon(QStyle::SP_DialogOpenButton)),
         &ProjectsManager::openSelected},
        {projectsManagerControls::deleteSelected, "Delete Selected Projects",
         QIcon::fromTheme(QStringLiteral("edit-delete"), look->standardIcon(QStyle::SP_TrashIcon)),
         &ProjectsManager::deleteSelected},
        {projectsManagerControls::rename, "Rename a Project",
         QIcon::fromTheme(QStringLiteral("edit-rename"),
                          look->standardIcon(QStyle::SP_FileDialogDetailedView)),
         &ProjectsManager::renameProject},
        {projectsManagerControls::copy, "Copy a Project",
         QIcon::fromTheme(QStringLiteral("edit-copy"),
                          look->standardIcon(QStyle::SP_FileDialogNewFolder)),
         &ProjectsManager::copyProject},
        {projectsManagerControls::browse, "Projects Manager",
         QIcon::fromTheme(QStringLiteral("folder"), look->standardIcon(QStyle::SP_DirIcon)),
         &ProjectsManager::browseProjects},
    };
    int left = 0;
    for (const auto& b : buttons) {
        QToolButton* button = b.command == &ProjectsManager::browseProjects
                                  ? browseButton_
                                  : new QToolButton(toolBar_);
        setUpToolbarButton(*button, b.name, b.icon, b.toolTip, left);
        // A click leaves the focus in the list, and with it the entries Enter opens; Tab
        // reaches the buttons all the same.
        button->setFocusPolicy(Qt::TabFocus);
        left += ui::kToolButtonStepTwips;
        connect(button, &QToolButton::clicked, this, b.command);
    }
}

void ProjectsManager::createFolderBar() {
    folderBar_->setObjectName(projectsManagerControls::folderBar);
    const int top = (twips(kFolderBarHeightTwips) - examplesLabel_->height()) / 2;
    examplesLabel_->move(twips(kLabelGapTwips), top);
    projectsLabel_->move(examplesLabel_->geometry().right() + twips(2 * kLabelGapTwips), top);
    examplesLabel_->installEventFilter(this);
    projectsLabel_->installEventFilter(this);
}

void ProjectsManager::layoutWindow() {
    const int toolBarHeight = twips(ui::kToolBarHeightTwips);
    const int folderBarHeight = twips(kFolderBarHeightTwips);
    toolBar_->setGeometry(0, 0, width(), toolBarHeight);
    browseButton_->move(width() - browseButton_->width() - twips(kBrowseRightTwips), 0);
    folderBar_->setGeometry(0, height() - folderBarHeight, width(), folderBarHeight);
    const int listTop = toolBarHeight - twips(kListLeftTwips);
    list_->setGeometry(twips(kListLeftTwips), listTop,
                       std::max(0, width() - twips(kListRightTwips)),
                       std::max(0, height() - folderBarHeight - listTop));
}

void ProjectsManager::setFilePath(const QString& filePath) {
    filePath_->setText(filePath);
    // "Projects\Letter": Letter is selected while the list shows Projects.
    const qsizetype slash = filePath.lastIndexOf(QLatin1Char('\\'));
    const bool sameFolder =
        slash < 0 || filePath.left(slash) == toQString(store::folderName(shownFolder_));
    wantedEntry_ = sameFolder ? filePath.mid(slash + 1) : QString();
}

void ProjectsManager::switchToExamples() {
    examplesTimer_->start();
}

QStringList ProjectsManager::entries() const {
    QStringList names;
    for (int row = 0; row < list_->count(); ++row) {
        names << list_->item(row)->text();
    }
    return names;
}

QStringList ProjectsManager::selectedEntries() const {
    QStringList names;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) {
            names << list_->item(row)->text();
        }
    }
    return names;
}

void ProjectsManager::refresh() {
    refreshTimer_->stop();
    shownFolder_ = state_.prgFolder;
    markShownFolder();
    list_->clear();
    for (const std::string& name :
         store::listProjects(state_.app.folder(shownFolder_), store::ListPattern::AllFiles)) {
        list_->addItem(toQString(name));
    }
    if (!wantedEntry_.isEmpty()) {
        const QList<QListWidgetItem*> wanted = list_->findItems(wantedEntry_, Qt::MatchExactly);
        if (!wanted.isEmpty()) {
            rememberedIndex_ = list_->row(wanted.first());
        }
        wantedEntry_.clear();
    }
    if (list_->count() > 0) {
        // After the last entries went, the one now last stands in for the remembered one.
        // Taken first: the focus makes the first entry current in a list without one.
        const int row = std::min(rememberedIndex_, list_->count() - 1);
        list_->setFocus();
        list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    emit refreshed();
}

void ProjectsManager::openSelected() {
    const QListWidgetItem* focused = list_->currentItem();
    if (focused == nullptr || focused->text().isEmpty()) {
        return;
    }
    // The record is optional: a project that cannot be remembered still opens.
    (void)store::writeLastProject(state_.app, toUtf8(focused->text()), shownFolder_);
    // The editors load from the current project folder: the one this list shows.
    state_.prgFolder = shownFolder_;
    for (const QString& name : selectedEntries()) {
        state_.commands.openEditor(name);
    }
    closeChildWindow(this);
}

void ProjectsManager::addNewProject() {
    state_.commands.newProjectFromManager();
    closeChildWindow(this);
}

void ProjectsManager::deleteSelected() {
    list_->setFocus();
    const QStringList selected = selectedEntries();
    // Nothing selected, nothing to ask about.
    if (selected.isEmpty()) {
        return;
    }
    std::vector<std::string> names;
    for (const QString& name : selected) {
        names.push_back(toUtf8(name));
    }
    // Enter alone must not delete: No is the default.
    if (state_.dialogs.question(this, kProgramTitle, deleteQuestion(selected),
                                platform::Buttons::YesNoCancel,
                                platform::Answer::No) != platform::Answer::Yes) {
        return;
    }
    if (const store::Outcome deleted = store::deleteProjects(state_.app, shownFolder_, names);
        !deleted) {
        warn(toQString(deleted.message()));
    }
    refreshTimer_->start();
}

void ProjectsManager::renameProject() {
    changeName(NameChange::Rename);
}

void ProjectsManager::copyProject() {
    changeName(NameChange::Copy);
}

void ProjectsManager::changeName(NameChange change) {
    list_->setFocus();
    const QListWidgetItem* focused = list_->currentItem();
    if (focused == nullptr) {
        return;
    }
    const QString current = focused->text();
    const std::string currentName = toUtf8(current);
    const QString caption = change == NameChange::Rename ? QStringLiteral("Rename a Project")
                                                         : QStringLiteral("Copy a Project");
    for (;;) {
        const std::optional<QString> answer =
            state_.dialogs.input(this, caption, QStringLiteral("Type a new name:"), current);
        std::optional<std::string> typed;
        if (answer) {
            typed = toUtf8(*answer);
        }
        // The typed name is cleaned as a new project's is, so it cannot reach another folder.
        const store::NameDecision decision =
            store::decideNewName(state_.app, shownFolder_, currentName, typed);
        switch (decision.action) {
            case store::NameDecision::Action::Stop:
                // A name that cleaning empties is said so, and asked for again.
                if (answer && !answer->isEmpty()) {
                    state_.dialogs.information(this, kProgramTitle, onlyForbiddenText(*answer));
                    continue;
                }
                return;
            case store::NameDecision::Action::AskAgain:
                continue;
            case store::NameDecision::Action::AlreadyExists:
                state_.dialogs.information(this, kProgramTitle, toQString(store::kProjectExists));
                continue;
            case store::NameDecision::Action::Proceed:
                break;
        }
        const store::Outcome done =
            change == NameChange::Rename
                ? store::renameProject(state_.app, shownFolder_, currentName, decision.name)
                : store::copyProject(state_.app, shownFolder_, currentName, decision.name);
        if (!done) {
            warn(toQString(done.message()));
        } else {
            wantedEntry_ = toQString(decision.name);
        }
        refreshTimer_->start();
        return;
    }
}

void ProjectsManager::browseProjects() {
    // Always Projects, also while the list shows Examples.
    const QString folder = fromPath(state_.app.projects());
    if (!state_.desktop.openFolder(folder)) {
        warn(folderNotShownText(folder));
        return;
    }
    state_.dialogs.information(this, kProgramTitle,
                               QStringLiteral("Press OK to Refresh Project's List."));
    refreshTimer_->start();
}

void ProjectsManager::showFolder(store::ProjectFolder folder) {
    examplesTimer_->stop();
    state_.prgFolder = folder;
    refreshTimer_->start();
}

void ProjectsManager::markShownFolder() {
    for (QLabel* label : {examplesLabel_, projectsLabel_}) {
        const bool shown =
            (label == examplesLabel_) == (shownFolder_ == store::ProjectFolder::Examples);
        QFont font = label->font();
        font.setUnderline(!shown);
        font.setBold(shown);
        label->setFont(font);
        label->setPalette(QPalette());
        if (!shown) {
            paintAsLink(*label);
        }
        label->setCursor(shown ? Qt::ArrowCursor : Qt::PointingHandCursor);
        label->setAccessibleName(shown ? label->text() + QStringLiteral(" (shown)")
                                       : label->text());
        label->adjustSize();
    }
    projectsLabel_->move(examplesLabel_->geometry().right() + twips(2 * kLabelGapTwips),
                         projectsLabel_->y());
    list_->setAccessibleName(
        QStringLiteral("Projects in %1").arg(toQString(store::folderName(shownFolder_))));
}

bool ProjectsManager::previewKey(QKeyEvent& key) {
    QWidget* focused = focusWidget();
    const bool onLabel = focused == examplesLabel_ || focused == projectsLabel_;
    if (isPlainEnter(key) || (onLabel && key.key() == Qt::Key_Space)) {
        if (onLabel) {
            showFolder(focused == examplesLabel_ ? store::ProjectFolder::Examples
                                                 : store::ProjectFolder::Projects);
        } else if (auto* button = qobject_cast<QToolButton*>(focused)) {
            // A button the keyboard went to is the one Enter presses.
            button->click();
        } else {
            openSelected();
        }
        return true;
    }
    if (key.key() == Qt::Key_Delete && key.modifiers() == Qt::NoModifier && focused == list_) {
        deleteSelected();
        return true;
    }
    return false;
}

void ProjectsManager::warn(const QString& text) {
    state_.dialogs.warning(this, kProgramTitle, text);
}

void ProjectsManager::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Inside the main window the outer size is the sub-window's, at the area's top-left corner.
    if (!sized_) {
        sized_ = true;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->resize(twips(kWidthTwips), twips(kHeightTwips));
            frame->move(twips(kPlaceTwips), twips(kPlaceTwips));
        }
    }
}

void ProjectsManager::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutWindow();
}

void ProjectsManager::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        refreshTimer_->stop();
        examplesTimer_->stop();
        state_.windowClosed();
    }
    event->accept();
}

bool ProjectsManager::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == examplesLabel_ || watched == projectsLabel_) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        showFolder(watched == examplesLabel_ ? store::ProjectFolder::Examples
                                             : store::ProjectFolder::Projects);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace korvex::ui
