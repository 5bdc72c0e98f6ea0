#pragma once
#include <QStringList>
#include <QWidget>

#include "store/app_folder.h"

class QKeyEvent;
class QLabel;
class QListWidget;
class QTimer;
class QToolButton;

namespace korvex::ui {

struct SharedState;

/// The Projects Manager ("Open Project"): lists the projects of the current project
/// folder, opens one or several in editors, adds, deletes, renames and copies projects, switches
/// between `Projects` and `Examples`, and shows the projects folder in the file browser. Every
/// opening is a window of its own, counted as an open window. Enter opens, Delete deletes, Esc
/// closes. Every command acts on the folder the list shows (the folder label shown as the
/// current one), even when another window has changed the current project folder since.
class ProjectsManager : public QWidget {
    Q_OBJECT
public:
    /// Loads the window: one more open window, the remembered index at the first entry, and
    /// the refresh timer that fills the list 100 ms later.
    explicit ProjectsManager(SharedState& state, QWidget* parent = nullptr);

    /// `filePath`: what the opener hands over (its own project path, the project just made,
    /// or nothing). When the list shows that project, it is the one selected.
    void setFilePath(const QString& filePath);
    /// Turns a freshly opened window to `Examples` 1 ms from now, as "Examples..." does.
    void switchToExamples();

    /// Open: records the entry with the focus as the last project, opens an editor for every
    /// selected entry, in list order, then closes. Nothing without a focused entry.
    void openSelected();
    /// Opens the New Project dialog, which comes back to a Projects Manager, and closes.
    void addNewProject();
    /// Deletes the selected projects after asking.
    void deleteSelected();
    /// Asks for a new name for the entry with the focus until one is free, then renames.
    void renameProject();
    /// Asks for a name for a copy of the entry with the focus until one is free, then copies.
    void copyProject();
    /// Shows `Projects` in the file browser, and refreshes the list once the user says so.
    void browseProjects();
    /// A folder label: `folder` becomes the current project folder of every window, and this
    /// list follows.
    void showFolder(store::ProjectFolder folder);

    /// The names in the list, in order.
    QStringList entries() const;
    /// The folder the list shows, which every command acts on.
    store::ProjectFolder shownFolder() const { return shownFolder_; }

signals:
    /// The list was filled afresh.
    void refreshed();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class NameChange { Rename, Copy };

    void createToolBar();
    void createFolderBar();
    /// The toolbar along the top, the folder bar along the bottom, the list between them.
    void layoutWindow();
    /// The refresh timer's tick: the current project folder listed, the remembered entry selected.
    void refresh();
    void changeName(NameChange change);
    QStringList selectedEntries() const;
    /// The folder labels: the one of the shown folder marked as the current one, the other a
    /// link.
    void markShownFolder();
    /// The key preview: Enter opens (or presses the focused button), Delete deletes.
    bool previewKey(QKeyEvent& key);
    void warn(const QString& text);

    SharedState& state_;
    QWidget* toolBar_;
    QToolButton* browseButton_;  // kept at the bar's right edge
    QListWidget* list_;
    QWidget* folderBar_;
    QLabel* examplesLabel_;
    QLabel* projectsLabel_;
    QLabel* filePath_;  // filePath, hidden
    QTimer* refreshTimer_;
    QTimer* examplesTimer_;  // ExamplesT
    store::ProjectFolder shownFolder_;
    int rememberedIndex_ = 0;
    QString wantedEntry_;  // selected at the next refresh when listed: a project just made
    bool sized_ = false;
    bool closed_ = false;
};

}  // namespace korvex::ui
