#pragma once
// The menu items that the main window, the editor and the generated-text window share: they
// carry the same names, captions and shortcuts everywhere and act on the main window.

#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace korvex::ui {

class MainCommands;

/// Adds "&New Project..." (F2, `NewProjectX`), "&Open Project..." (F3, `OpenProjectX`) and
/// "&Last Project" (F4, `LastProject`) to `file`. Open Project passes `openPath()` to the
/// Projects Manager (the window's own project path, or empty from the main window).
void addProjectItems(QMenu* file, MainCommands& commands, std::function<QString()> openPath);

/// Adds "&Quit" (`QuitX`, Ctrl+Shift+Q) to `file`.
void addQuitItem(QMenu* file, MainCommands& commands);

/// The "&Windows" menu (`Windows`): Cascade, Vertical, Horizontal, -, Close All Projects, -,
/// Projects. Close All Projects clears the open-window list.
QMenu* createWindowsMenu(QWidget* parent, MainCommands& commands);

/// The "&?" menu (`objectName` given, `MenuHelpX` in child windows): "&Help..." (F1,
/// `HelpX`) and "&About" (`AboutX`).
QMenu* createHelpMenu(QWidget* parent, MainCommands& commands, const QString& objectName);

}  // namespace korvex::ui
