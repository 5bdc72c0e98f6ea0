#include "shell/project_menus.h"

#include <QAction>
#include <QMenu>

#include "widgets/window_parts.h"

namespace korvex::ui {

QMenu* addProjectSubmenu(QMenu* menu, const QString& name, const QString& caption,
                         const QString& entryName, const QStringList& projects,
                         const ProjectAction& action) {
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(name);
    if (projects.isEmpty()) {
        QAction* none = namedAction(submenu, entryName, kNoProjects);
        none->setEnabled(false);
        submenu->addAction(none);
        return submenu;
    }
    for (const QString& project : projects) {
        // An & in a project's name is a letter, not an access key.
        QAction* entry = namedAction(submenu, entryName, QString(project).replace('&', "&&"));
        submenu->addAction(entry);
        QObject::connect(entry, &QAction::triggered, submenu,
                         [action, project] { action(project); });
    }
    return submenu;
}

}  // namespace korvex::ui
