#include "shell/shared_menus.h"

#include <QAction>
#include <QMenu>

#include "shell/shared_state.h"
#include "shell/window_parts.h"

namespace korvex::ui {
namespace {

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = namedAction(menu, name, caption, shortcut);
    menu->addAction(action);
    return action;
}

}  // namespace

void addProjectItems(QMenu* file, MainCommands& commands, std::function<QString()> openPath) {
    QObject::connect(addItem(file, "NewProjectX", "&New Project...", Qt::Key_F2),
                     &QAction::triggered, file, [&commands] { commands.newProject(); });
    QAction* open = addItem(file, "OpenProjectX", "&Open Project...", Qt::Key_F3);
    open->setEnabled(commands.canOpenProjects());
    QObject::connect(open, &QAction::triggered, file, [&commands, openPath = std::move(openPath)] {
        commands.openProjects(openPath ? openPath() : QString());
    });
    QObject::connect(addItem(file, "LastProject", "&Last Project", Qt::Key_F4), &QAction::triggered,
                     file, [&commands] { commands.lastProject(); });
}

void addQuitItem(QMenu* file, MainCommands& commands) {
    QObject::connect(addItem(file, "QuitX", "&Quit"), &QAction::triggered, file,
                     [&commands] { commands.quit(); });
}

QMenu* createWindowsMenu(QWidget* parent, MainCommands& commands) {
    auto* menu = new QMenu("Windows", parent);
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
