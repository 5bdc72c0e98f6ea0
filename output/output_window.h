#pragma once
#include <QList>
#include <QString>
#include <QWidget>

#include "engine/variant_count.h"
#include "output/export.h"
#include "platform/engine_host.h"
#include "widgets/shared_state.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace korvex::ui {

class BatchExport;
class StatsWindow;

/// The generated-text window: runs the script engine on its project shortly after it opens
/// and whenever asked, shows the text for the user to read and edit, copies and exports it,
/// and opens statistics windows on it.
class OutputWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    /// What the Copy All button shows for a moment after copying.
    static inline const QString kCopiedCaption = QStringLiteral("[OK]");

    /// Loads the window: look of the PreView carrier, outer size, one more open window, and
    /// the start-up timer whose first generation sees the title and project path the opener
    /// sets next.
    explicit OutputWindow(SharedState& state, QWidget* parent = nullptr);

    /// The project path the engine receives ("Projects\Letter"); a jump changes it.
    void setProjectPath(const QString& projectPath) { projectPath_ = projectPath; }
    const QString& projectPath() const { return projectPath_; }

    QList<QMenu*> menuBarMenus() const override;

    /// One generation run: the text, the counts, the title after a jump; closes the window
    /// when the script asks for it.
    void generate();
    /// Selects the whole text and puts it on the clipboard; the button says so for 500 ms.
    void copyAll();
    /// Puts the selected text, if any, on the clipboard.
    void copySelection();
    /// Writes the text into the Exported folder and shows the folder or the page.
    void exportText(ExportKind kind);
    void openExportedFolder();
    /// Asks how many texts and where, then writes them on a worker thread.
    void exportManyTexts();

signals:
    /// A generation run delivered its text (and any warning has been shown).
    void generated();
    /// The Stats button's timer opened `window`.
    void statisticsOpened(korvex::ui::StatsWindow* window);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusLine();
    /// The toolbar strip along the top, the text box below it over the rest of the client area.
    void layoutWindow();
    void deliver(engine::GenerationResult& result);
    void showCopied(bool copied);
    void openStatistics();
    void showRecordOutcome(quint64 ticket, const QString& failure);
    /// Closes the window, or the sub-window holding it inside the main window.
    void closeWindow();
    void warn(const QString& text);
    /// No batch runs, or the user agreed to stop it (closing the window would end it).
    bool mayStopBatch();

    SharedState& state_;
    platform::EngineHost host_;
    QString projectPath_;  // filePath
    engine::VariantCount variantCount_;

    QPlainTextEdit* text_;
    QWidget* toolBar_;
    QToolButton* exportButton_;
    QToolButton* copyAllButton_;
    QToolButton* statsButton_;
    QToolButton* generateButton_;
    QLabel* itemsLabel_;
    QLabel* variantsLabel_;
    QLabel* recordStatus_;  // a failed working-file record, until the next one is written
    QTimer* startTimer_;    // GenerateNew
    QTimer* statsTimer_;
    QTimer* copyTimer_;  // TextCopy

    QAction* generateAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* copyAllAction_ = nullptr;
    QAction* exportHtmlCodeAction_ = nullptr;
    QAction* exportWebPageAction_ = nullptr;
    QAction* exportTextFileAction_ = nullptr;
    QAction* exportedFolderAction_ = nullptr;
    QAction* exportManyAction_ = nullptr;
    BatchExport* batchExport_ = nullptr;  // the batch running, if any
    QList<QMenu*> menus_;
    QMenu* popup_ = nullptr;  // MenuX

    quint64 recordTicket_ = 0;  // the last record this window handed to the writer
    bool generating_ = false;
    bool closeWhenDone_ = false;
    bool sized_ = false;
    bool closed_ = false;
};

}  // namespace korvex::ui
