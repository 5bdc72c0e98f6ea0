#pragma once
// A main program in miniature for the output windows' tests: an application folder of its
// own, scripted dialogs, a recording desktop, a real record writer, and a multi-document area
// whose child windows are added the way the main window adds them.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStringList>
#include <QTest>

#include "engine/random.h"
#include "output/output_window.h"
#include "tests/common/test_files.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scripted_dialogs.h"
#include "widgets/record_writer.h"
#include "widgets/shared_state.h"

namespace korvex::testing {

/// The main window's commands: children go into a real QMdiArea, everything else is recorded.
class FakeCommands : public ui::MainCommands {
public:
    explicit FakeCommands(QMdiArea& area) : area_(area) {}

    void newProject() override { calls << "newProject"; }
    void openProjects(const QString& filePath) override { calls << "openProjects " + filePath; }
    void lastProject() override { calls << "lastProject"; }
    void quit() override { calls << "quit"; }
    void cascade() override { calls << "cascade"; }
    void tileHorizontally() override { calls << "tileHorizontally"; }
    void tileVertically() override { calls << "tileVertically"; }
    void closeAll(bool) override { calls << "closeAll"; }
    void help() override { calls << "help"; }
    void about() override { calls << "about"; }
    void openOutput(const QString& title, const QString& projectPath, QWidget*) override {
        calls << "openOutput " + title + " " + projectPath;
    }
    void openEditor(const QString& projectName) override { calls << "openEditor " + projectName; }
    void createRuntime(const QString& title, const QString& projectPath) override {
        calls << "createRuntime " + title + " " + projectPath;
    }
    void openImport() override { calls << "openImport"; }

    QMdiSubWindow* addChild(QWidget* window) override {
        QMdiSubWindow* frame = area_.addSubWindow(window);
        // The sub-window's system menu binds Ctrl+W and Ctrl+F4; the main window clears them.
        for (QAction* action : frame->systemMenu()->actions()) {
            action->setShortcut({});
        }
        frame->show();
        area_.setActiveSubWindow(frame);
        return frame;
    }

    QStringList calls;

private:
    QMdiArea& area_;
};

/// An application folder with Projects, Temp and Exported, and the services around it.
struct OutputProgram {
    TempFolder folder;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    engine::Random random{20240101};
    ui::RecordWriter recordWriter;
    QMdiArea area;
    FakeCommands commands{area};
    ui::SharedState state{
        store::AppFolder(folder.path()), dialogs, desktop, random, recordWriter, commands};

    /// `writeRecord` stands in for writing the working files (empty: they are written).
    explicit OutputProgram(ui::RecordWriter::WriteFunction writeRecord = {})
        : recordWriter(std::move(writeRecord)) {
        for (const char* sub : {"Projects", "Temp", "Exported"}) {
            std::filesystem::create_directories(folder.path() / sub);
        }
        area.resize(1200, 900);
        area.show();
        area.activateWindow();
    }
    /// Writes project `name` into Projects, each line ended by CR LF.
    void writeProject(const std::string& name, const QStringList& lines) const {
        std::string bytes;
        for (const QString& line : lines) {
            bytes += line.toStdString() + "\r\n";
        }
        folder.write("Projects/" + name + ".ini", bytes);
    }

    /// Opens a generated-text window as the main window's openers do.
    ui::OutputWindow* open(const QString& title) {
        auto* window = new ui::OutputWindow(state);
        window->setWindowTitle(title);
        window->setProjectPath("Projects\\" + title);
        commands.addChild(window);
        return window;
    }
};

}  // namespace korvex::testing
