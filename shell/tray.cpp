#include "shell/tray.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/text_conversion.h"
#include "shell/program_info.h"
#include "shell/project_menus.h"
#include "store/last_project.h"
#include "widgets/shared_state.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::toQString;
using platform::toUtf8;

namespace {

const QString kTip = QStringLiteral("Korvex");

QAction* addItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = namedAction(menu, name, caption);
    menu->addAction(action);
    return action;
}

}  // namespace

Tray::Tray(QMainWindow& window, QWidget& background, SharedState& state,
           const QStringList& projects)
    : QObject(&window),
      window_(window),
      background_(background),
      state_(state),
      trayMenu_(new QMenu(&window)),
      backgroundMenu_(new QMenu(&window)) {
    trayMenu_->setObjectName(QStringLiteral("TrayBarX"));
    connect(addItem(trayMenu_, QStringLiteral("ShowKorvexX"), QStringLiteral("Show Korvex")),
            &QAction::triggered, this, &Tray::restoreWindow);
    trayMenu_->addSeparator();
    // From the tray the window comes back first, so the new window is seen.
    addProjectSubmenu(trayMenu_, QStringLiteral("EditX"), QStringLiteral("Edit..."),
                      QStringLiteral("fileProjectsX"), projects, [this](const QString& name) {
                          restoreWindow();
                          editProject(name);
                      });
    addProjectSubmenu(trayMenu_, QStringLiteral("GenerateX"), QStringLiteral("Generate"),
                      QStringLiteral("fileProjectsGENX"), projects, [this](const QString& name) {
                          restoreWindow();
                          generateProject(name);
                      });
    addItem(trayMenu_, QStringLiteral("CancelX"), QStringLiteral("Cancel"));

    backgroundMenu_->setObjectName(QStringLiteral("TrayBar2X"));
    addProjectSubmenu(backgroundMenu_, QStringLiteral("Edit2X"), QStringLiteral("Edit..."),
                      QStringLiteral("fileProjects2X"), projects,
                      [this](const QString& name) { editProject(name); });
    addProjectSubmenu(backgroundMenu_, QStringLiteral("Generate2X"), QStringLiteral("Generate"),
                      QStringLiteral("fileProjectsGEN2X"), projects,
                      [this](const QString& name) { generateProject(name); });
    addItem(backgroundMenu_, QStringLiteral("Cancel2X"), QStringLiteral("Cancel"));

    background_.installEventFilter(this);
}

Tray::~Tray() {
    removeIcon();
}

void Tray::windowMinimised() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    if (icon_ == nullptr) {
        QIcon picture = window_.windowIcon();
        icon_ = new QSystemTrayIcon(picture.isNull() ? programIcon() : picture, this);
        icon_->setToolTip(kTip);
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
                        trayMenu_->popup(QCursor::pos());
                    }
                });
    }
    icon_->show();
    // Leave the state change that brought us here before hiding the window.
    QTimer::singleShot(0, &window_, [this] {
        if (window_.isMinimized()) {
            window_.hide();
        }
    });
}

void Tray::restoreWindow() {
    window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void Tray::removeIcon() {
    if (icon_ != nullptr) {
        icon_->hide();
    }
}

void Tray::editProject(const QString& name) {
    // The entries list Projects, so they open from Projects whatever folder is current.
    state_.prgFolder = store::ProjectFolder::Projects;
    // The record is optional: a project that cannot be remembered still opens.
    (void)store::writeLastProject(state_.app, toUtf8(name), state_.prgFolder);
    state_.commands.openEditor(name);
}

void Tray::generateProject(const QString& name) {
    state_.commands.openOutput(
        name, toQString(store::projectPath(store::ProjectFolder::Projects, toUtf8(name))));
}

bool Tray::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &background_ && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A press a window inside passed on is that window's, not the background's.
        if (mouse->button() == Qt::RightButton &&
            background_.childAt(mouse->position().toPoint()) == nullptr) {
            backgroundMenu_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex::ui
