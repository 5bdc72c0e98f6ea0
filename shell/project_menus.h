#pragma once
// The "Edit..." and "Generate" submenus of the tray menu and the background menu: one entry
// per project of the list read at start.

#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace korvex::ui {

/// The caption of the one, disabled, entry of a submenu when there are no projects.
inline const QString kNoProjects = QStringLiteral("No projects");

/// What a project entry does with its project's name.
using ProjectAction = std::function<void(const QString& projectName)>;

/// Adds to `menu` a submenu named `name` with `caption` holding one entry per project of
/// `projects`, in order, each named `entryName` and calling `action` with its project; an empty
/// `projects` gives one disabled entry, kNoProjects. Returns the submenu.
QMenu* addProjectSubmenu(QMenu* menu, const QString& name, const QString& caption,
                         const QString& entryName, const QStringList& projects,
                         const ProjectAction& action);

}  // namespace korvex::ui
