#pragma once
#include <QList>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>

#include "engine/checker.h"
#include "store/text_codec.h"
#include "widgets/shared_state.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace korvex::editor {

class BraceMarks;
class DiagnosticsList;
class EditMenu;
class EditorPanes;
class EditorToolBar;
class FileWatch;
class FindReplaceBar;
class StatusLine;
class PreviewPane;
struct PreviewSource;
class ScriptHighlighter;
class LongLineSight;

/// The editor window: one project's script in a pane, saved back to the project file,
/// handed to a generated-text window, to the import window, to runtime creation and to the
/// external editor. In external-editor mode (setting `editor` = 1) it never shows itself: it
/// opens the generated-text window, starts the external editor on the file and closes.
class EditorWindow : public QWidget, public ui::ChildWindow {
    Q_OBJECT
public:
    /// The question of Generate and of the external-editor command when the text has changed.
    static inline const QString kSaveQuestion =
        QStringLiteral("This Function Requires Saving the Project. Do You Want To Saving It?");

    /// Creates the window with its look and starts the load timer, whose load fixes the
    /// project path from the current project folder and the title the opener sets next.
    explicit EditorWindow(ui::SharedState& state, QWidget* parent = nullptr);

    /// External-editor mode: the window is never shown and closes itself about a second on.
    bool worksOutOfSight() const { return outOfSight_; }
    /// "Projects\Letter", fixed by the first load; empty before it.
    const QString& projectPath() const { return projectPath_; }
    bool isModified() const;

    QList<QMenu*> menuBarMenus() const override;

    /// Writes the text to the project file; "[OK]" on the save button for half a second.
    /// A failed write is shown, and the window stays modified.
    bool save();
    /// Saves (asking first when the text has changed, unless `dnask` is 1) and opens a
    /// generated-text window on the project.
    void generate();
    /// Shows the other pane and saves.
    void toggleWordWrap();
    /// Saves, starts the external editor on the project file, and reloads after the user's OK.
    void editExternally();
    /// Colours both panes' script, or leaves it plain; the choice is kept for the next editor.
    void setHighlighting(bool on);

signals:
    /// A load filled the panes from the project file.
    void loaded();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    /// Menu items for the toolbar buttons that have none in the design.
    void addToolBarMenuItems(QMenu* file, QMenu* view);
    void connectToolBar();
    void layoutWindow();
    /// The frame's title: the project's name, and " *" while it has unsaved changes.
    void showModifiedInTitle();
    /// The project file as this window last read or wrote it, to tell other writers' changes.
    void rememberFile();

    void load();
    /// Writes the unwrapped pane and a final line break; on failure shows why and returns false.
    bool writeScript();
    /// Writes and clears the modified flag (no feedback): the saves of Generate and of the
    /// external-editor command.
    bool saveQuietly();
    void endSavedFeedback();
    void openImport();
    void createRuntime();
    void openOutput();
    bool startExternalEditor();
    /// External-editor mode, half a second after creation: generate, then wait again.
    void generateOutOfSight();
    /// External-editor mode, a second after creation: the external editor, and close.
    void handOverAndClose();
    void showEditMenu(QPlainTextEdit* pane, QPoint globalPosition);
    /// Includes from the application folder, jumps beside the project file, as a generation
    /// does; empty before the first load.
    std::optional<engine::CheckOptions> checkOptions() const;
    /// The project the preview generates as, once loaded.
    std::optional<PreviewSource> previewSource() const;
    void closeWindow();
    void warn(const QString& text);

    ui::SharedState& state_;
    const bool outOfSight_;
    EditorPanes* panes_;
    EditorToolBar* toolBar_;
    EditMenu* editMenu_;                              // EditX
    std::array<ScriptHighlighter*, 2> highlighters_;  // the unwrapped pane's, the wrapped one's
    LongLineSight* sight_;
    DiagnosticsList* diagnostics_;
    FindReplaceBar* findBar_;
    BraceMarks* braces_;
    StatusLine* statusLine_;
    FileWatch* fileWatch_;
    PreviewPane* preview_;     // Preview
    QTimer* loadTimer_;        // loadThis
    QTimer* savedTimer_;       // TextCopy
    QTimer* extEditorTimer_;   // ExtEditor
    QTimer* extEditor2Timer_;  // ExtEditor2

    QAction* saveAction_ = nullptr;
    QAction* generateAction_ = nullptr;
    QAction* externalEditorAction_ = nullptr;
    QAction* highlightAction_ = nullptr;
    QList<QMenu*> menus_;

    QString projectPath_;  // filePath
    bool pathSet_ = false;
    std::optional<std::filesystem::path> file_;
    // What the file was read with, so a save writes it back the same way while it fits.
    store::Encoding encoding_ = store::Encoding::Windows1252;
    bool byteOrderMark_ = false;

    bool listed_ = false;  // holds an entry of the open-window list
    bool loadedOnce_ = false;
    bool unreadable_ = false;  // the first load found a file it could not read
    bool sized_ = false;
    bool closed_ = false;
};

}  // namespace korvex::editor
