#pragma once
// The output tests' miniature program with the editor's folders: editors open in its
// multi-document area the way the main window opens them.

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <string>

#include "editor/editor_controls.h"
#include "editor/editor_window.h"
#include "tests/common/test_files.h"
#include "tests/output/output_program.h"

namespace korvex::testing {

struct EditorProgram : OutputProgram {
    EditorProgram() { std::filesystem::create_directories(folder.path() / "Extra"); }

    /// Opens an editor on project `title`, whose file holds `bytes` (no file when null), and
    /// waits for its load; null when the window closed meanwhile.
    QPointer<editor::EditorWindow> open(const QString& title, const char* bytes = "") {
        if (bytes != nullptr) {
            folder.write(projectFile(title), bytes);
        }
        auto* window = new editor::EditorWindow(state);
        window->setWindowTitle(title);
        if (!window->worksOutOfSight()) {
            commands.addChild(window);
        }
        QPointer<editor::EditorWindow> opened = window;
        QSignalSpy loaded(window, &editor::EditorWindow::loaded);
        loaded.wait(2000);
        return opened;
    }

    /// Closes the first child window of the area, as its frame's close button does; false
    /// when there is none (the test then fails instead of the program crashing).
    bool closeFirstChild() {
        const QList<QMdiSubWindow*> children = area.subWindowList();
        if (children.isEmpty()) {
            return false;
        }
        children.first()->close();
        return true;
    }

    static std::string projectFile(const QString& title) {
        return "Projects/" + title.toStdString() + ".ini";
    }
    std::string bytes(const std::string& relative) const {
        return readBytes(folder.path() / relative);
    }
    std::string projectBytes(const QString& title) const { return bytes(projectFile(title)); }
};

inline QPlainTextEdit* pane(QWidget* window,
                            const char* name = editor::editorControls::unwrappedPane) {
    return window->findChild<QPlainTextEdit*>(name);
}

/// What `text` holds, every character kept (toPlainText turns no-break spaces into spaces).
inline QString paneText(const QPlainTextEdit* text) {
    return text->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

}  // namespace korvex::testing
