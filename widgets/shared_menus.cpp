#include "widgets/shared_menus.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "widgets/shared_state.h"
#include "widgets/window_parts.h"

namespace korvex::ui {
namespace {

constexpr const char* kOpenWindowEntry = "openWindowEntry";

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = namedAction(menu, name, caption, shortcut);
    menu->addAction(action);
    return action;
}

/// Puts one entry per open child window after "Projects", the active one checked; choosing
/// an entry brings its window to the front. The entries are made afresh at every opening.
void listOpenWindows(QMenu* menu, QMdiArea* area) {
    for (QAction* action : menu->actions()) {
        if (action->property(kOpenWindowEntry).toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
    if (area == nullptr) {
        return;
    }
    int number = 0;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        ++number;
        // The number is the access key for the first nine; "&" in a title is not one.
        QString title = window->windowTitle();
        title.replace('&', "&&");
        QAction* entry = menu->addAction(number <= 9 ? QString("&%1 %2").arg(number).arg(title)
                                                     : QString("%1 %2").arg(number).arg(title));
        entry->setProperty(kOpenWindowEntry, true);
        entry->setCheckable(true);
        entry->setChecked(window == area->activeSubWindow());
        QObject::connect(entry, &QAction::triggered, area,
                         [area, target = QPointer<QMdiSubWindow>(window)] {
                             if (target) {
                                 area->setActiveSubWindow(target);
                             }
                         });
    }
}

}  // namespace

void addProjectItems(QMenu* file, MainCommands& commands, std::function<QString()> openPath) {
    QObject::connect(addItem(file, "NewProjectX", "&New Project...", Qt::Key_F2),
                     &QAction::triggered, file, [&commands] { commands.newProject(); });
    QAction* open = addItem(file, "OpenProjectX", "&Open Project...", Qt::Key_F3);
    QObject::connect(open, &QAction::triggered, file, [&commands, openPath = std::move(openPath)] {
        commands.openProjects(openPath ? openPath() : QString());
    });
    QObject::connect(addItem(file, "LastProject", "&Last Project", Qt::Key_F4), &QAction::triggered,
                     file, [&commands] { commands.lastProject(); });
}

void addQuitItem(QMenu* file, MainCommands& commands) {
    // Ctrl+Q adds four spaces in the editor; with Shift it is free in every window.
    QObject::connect(
        addItem(file, "QuitX", "&Quit", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Q)),
        &QAction::triggered, file, [&commands] { commands.quit(); });
}

QMenu* createWindowsMenu(QWidget* parent, MainCommands& commands) {
    auto* menu = new QMenu("&Windows", parent);
    menu->setObjectName("Windows");
    QObject::connect(addItem(menu, "CascadeX", "Cascade"), &QAction::triggered, menu,
                     [&commands] { commands.cascade(); });
    QObject::connect(addItem(menu, "VerticalX", "Vertical"), &QAction::triggered, menu,
                     [&commands] { commands.tileVertically(); });
    QObject::connect(addItem(menu, "HorizontalX", "Horizontal"), &QAction::triggered, menu,
                     [&commands] { commands.tileHorizontally(); });
    menu->addSeparator();
    QObject::connect(addItem(menu, "CloseAllX", "Close All Projects"), &QAction::triggered, menu,
                     [&commands] { commands.closeAll(true); });
    menu->addSeparator();
    // "Projects" heads the list of open windows; it has no command of its own.
    addItem(menu, "ProjectsX", "Projects")->setEnabled(false);
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, &commands] { listOpenWindows(menu, commands.childArea()); });
    return menu;
}

QMenu* createHelpMenu(QWidget* parent, MainCommands& commands, const QString& objectName) {
    auto* menu = new QMenu("&?", parent);
    menu->setObjectName(objectName);
    QObject::connect(addItem(menu, "HelpX", "&Help...", Qt::Key_F1), &QAction::triggered, menu,
                     [&commands] { commands.help(); });
    QObject::connect(addItem(menu, "AboutX", "&About"), &QAction::triggered, menu,
                     [&commands] { commands.about(); });
    return menu;
}

}  // namespace korvex::ui
