#pragma once
// The state every window of the main program shares, owned by the main window and handed to
// each window by reference, and the main window's commands that the child windows' shared
// menus (File, Windows, ?) and their openers call. No window reaches another through globals.

#include <QList>
#include <QString>
#include <string>
#include <utility>

#include "store/app_folder.h"
#include "store/settings.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWidget;

namespace korvex::engine {
class Random;
}
namespace korvex::platform {
class Desktop;
class Dialogs;
}  // namespace korvex::platform

namespace korvex::ui {

class RecordWriter;

/// What the main window does for every window. Child windows call these from their shared
/// menu items; tests give a window a fake that records the calls.
class MainCommands {
public:
    virtual ~MainCommands() = default;

    // File menu
    virtual void newProject() = 0;  ///< F2
    /// New Project opened from the Projects Manager (`nProject`): the created project shows in
    /// a new Projects Manager instead of an editor.
    virtual void newProjectFromManager() { newProject(); }
    virtual void openProjects(const QString& filePath) = 0;  ///< F3: a new Projects Manager
    virtual void lastProject() = 0;                          ///< F4
    virtual void quit() = 0;

    // Windows menu
    virtual void cascade() = 0;
    virtual void tileHorizontally() = 0;
    virtual void tileVertically() = 0;
    /// Closes the child windows one by one, each through its own closing step; stops at one
    /// that refuses. `clearOpenWindowList`: the menu item clears the list, the button does not.
    virtual void closeAll(bool clearOpenWindowList) = 0;

    // ? menu
    virtual void help() = 0;
    virtual void about() = 0;

    // Opening windows
    /// Shows `window` as a child of the main window's multi-document area, which owns it.
    virtual QMdiSubWindow* addChild(QWidget* window) = 0;
    /// The area that holds the child windows, for the Windows menu's list of them; none in
    /// tests that open no child.
    virtual QMdiArea* childArea() const { return nullptr; }
    /// A new generated-text window for `projectPath` ("Projects\Letter"), titled `title`.
    /// With `besideWindow`, it is placed 200 twips below and right of that window.
    virtual void openOutput(const QString& title, const QString& projectPath,
                            QWidget* besideWindow = nullptr) = 0;
    /// A new editor window on project `projectName` of the current project folder.
    virtual void openEditor(const QString& projectName) = 0;
    /// Builds the standalone program of project `title` (at `projectPath`) into Compiled.
    virtual void createRuntime(const QString& title, const QString& projectPath) = 0;
    /// A fresh import window; an import window already open is closed first.
    virtual void openImport() = 0;
};

/// A child window with menus of its own: while it is the active child, its menus replace the
/// main window's in the menu bar (and with them the shortcuts they carry).
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    /// The menus for the menu bar, in order (File, Edit, View, Windows, ? for instance).
    virtual QList<QMenu*> menuBarMenus() const = 0;
};

/// The hidden fields of the main window, and the services every window uses.
struct SharedState {
    SharedState(store::AppFolder app, platform::Dialogs& dialogs, platform::Desktop& desktop,
                engine::Random& random, RecordWriter& recordWriter, MainCommands& commands)
        : app(std::move(app)),
          dialogs(dialogs),
          desktop(desktop),
          random(random),
          recordWriter(recordWriter),
          commands(commands) {}

    store::AppFolder app;                                             ///< the application folder
    store::ProjectFolder prgFolder = store::ProjectFolder::Projects;  ///< PrgFolder
    store::Settings settings;  ///< carriers: EditorSetting (editor), PreView (preview),
                               ///< DNAskX (saveWithoutAsking), Editor
                               ///< (useExternalEditor)
    /// List1: one entry per open child window; only whether it is empty matters.
    int openWindows = 0;

    void windowOpened() { ++openWindows; }
    /// Removes one entry; the list may have been cleared by Close All Projects meanwhile.
    void windowClosed() {
        if (openWindows > 0) {
            --openWindows;
        }
    }

    platform::Dialogs& dialogs;
    platform::Desktop& desktop;
    engine::Random& random;      ///< the process's generator: its state carries over
    RecordWriter& recordWriter;  ///< writes the working files after the text is shown
    MainCommands& commands;
};

}  // namespace korvex::ui
