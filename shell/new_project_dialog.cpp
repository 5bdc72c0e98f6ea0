#include "shell/new_project_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/engine_host.h"
#include "platform/key_preview.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "shell/new_project_controls.h"
#include "shell/program_info.h"
#include "store/project_list.h"
#include "store/projects.h"
#include "widgets/contrast.h"
#include "widgets/shared_state.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kWidthTwips = 4695;
constexpr int kHeightTwips = 6645;
constexpr int kLeftTwips = 1;
constexpr int kTopTwips = 1;

}  // namespace

NewProjectDialog::NewProjectDialog(SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      nameField_(new QLineEdit(this)),
      projectList_(new QListWidget(this)),
      createButton_(new QPushButton(QStringLiteral("&Create"), this)),
      cancelButton_(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(newProjectControls::window);
    setWindowTitle(QStringLiteral("New Project"));
    setAttribute(Qt::WA_DeleteOnClose);

    nameField_->setObjectName(newProjectControls::name);
    projectList_->setObjectName(newProjectControls::projects);
    createButton_->setObjectName(newProjectControls::create);
    cancelButton_->setObjectName(newProjectControls::cancel);
    createButton_->setDefault(true);

    auto* warning = namedLabel(newProjectControls::warning,
                               QStringLiteral("Characters Not Allowed: < > : \\ / | * ?"), this);
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, readableOn(Qt::red, red.color(QPalette::Window)));
    warning->setPalette(red);
    warning->setWordWrap(true);

    // Each label names the field under it, for a screen reader too.
    QLabel* nameLabel = namedLabel(newProjectControls::prompt,
                                   QStringLiteral("New Project - Type a Project Name"), this);
    nameLabel->setBuddy(nameField_);
    nameField_->setAccessibleName(QStringLiteral("Project name"));
    nameField_->setAccessibleDescription(warning->text());
    QLabel* listLabel =
        namedLabel(newProjectControls::existing, QStringLiteral("Existing Projects:"), this);
    listLabel->setBuddy(projectList_);
    projectList_->setAccessibleName(QStringLiteral("Existing Projects"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(nameField_);
    layout->addWidget(warning);
    layout->addSpacing(twips(120));
    layout->addWidget(listLabel);
    layout->addWidget(projectList_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(createButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    state_.prgFolder = store::ProjectFolder::Projects;
    for (const std::string& name :
         store::listProjects(state_.app.projects(), store::ListPattern::IniFiles)) {
        projectList_->addItem(toQString(name));
    }

    connect(projectList_, &QListWidget::itemSelectionChanged, this, [this] {
        if (QListWidgetItem* item = projectList_->currentItem(); item && item->isSelected()) {
            nameField_->setText(item->text());
        }
    });
    connect(createButton_, &QPushButton::clicked, this, &NewProjectDialog::create);
    connect(cancelButton_, &QPushButton::clicked, this, &NewProjectDialog::closeWindow);

    // Enter is the default button's key wherever the focus is, except on Cancel itself.
    platform::installKeyPreview(this, [this](QKeyEvent& key) {
        if (!isPlainEnter(key)) {
            return false;
        }
        if (cancelButton_->hasFocus()) {
            closeWindow();
        } else {
            create();
        }
        return true;
    });
    nameField_->setFocus();
}

void NewProjectDialog::create() {
    const QString typed = nameField_->text();
    const QDateTime now = clock_();
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    const QString time = locale.toString(
        now.time(), platform::EngineHost::withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));

    const store::CreateResult result = store::createProject(
        state_.app, state_.prgFolder, toUtf8(typed), toUtf8(date), toUtf8(time));
    switch (result.status) {
        case store::CreateResult::Status::NothingToDo:
            // An empty field is no request; a name that cleaning empties is, and is answered.
            if (!typed.isEmpty()) {
                state_.dialogs.information(this, kProgramTitle, onlyForbiddenText(typed));
                nameField_->setFocus();
            }
            return;
        case store::CreateResult::Status::AlreadyExists:
            state_.dialogs.information(this, kProgramTitle, toQString(result.message));
            nameField_->setFocus();
            return;
        case store::CreateResult::Status::Failed:
            // Nothing was written, so there is nothing to open.
            state_.dialogs.warning(this, kProgramTitle, toQString(result.message));
            nameField_->setFocus();
            return;
        case store::CreateResult::Status::Created:
            break;
    }
    // The Projects Manager, when it opened this dialog, shows the new project in its list.
    if (!fromManager_) {
        state_.commands.openEditor(toQString(result.name));
    } else {
        // The new Projects Manager selects the project just made.
        state_.commands.openProjects(
            toQString(store::projectPath(store::ProjectFolder::Projects, result.name)));
    }
    closeWindow();
}

QMdiSubWindow* NewProjectDialog::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void NewProjectDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QMdiSubWindow* sub = subWindow();
    if (sub != nullptr && sub != settledIn_) {
        settledIn_ = sub;
        sub->installEventFilter(this);
        settle();
    }
    nameField_->setFocus();
}

bool NewProjectDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == settledIn_ && event->type() == QEvent::WindowStateChange &&
        settledIn_->isMaximized()) {
        // Leave the state change that brought us here before undoing it.
        QTimer::singleShot(0, this, &NewProjectDialog::settle);
    }
    return QWidget::eventFilter(watched, event);
}

void NewProjectDialog::settle() {
    QMdiSubWindow* sub = subWindow();
    if (sub == nullptr) {
        resize(twips(kWidthTwips), twips(kHeightTwips));
        return;
    }
    if (sub->isMaximized()) {
        sub->showNormal();
    }
    // The design size, or more where larger fonts need it.
    const QSize needed = sub->minimumSizeHint();
    sub->setFixedSize(std::max(twips(kWidthTwips), needed.width()),
                      std::max(twips(kHeightTwips), needed.height()));
    sub->move(twips(kLeftTwips), twips(kTopTwips));
}

void NewProjectDialog::closeWindow() {
    closeChildWindow(this);
}

}  // namespace korvex::ui
