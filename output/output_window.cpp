#include "output/output_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStringList>
#include <QTimer>
#include <QToolButton>

#include "engine/generate.h"
#include "output/batch_dialog.h"
#include "output/batch_export.h"
#include "output/output_controls.h"
#include "output/stats_window.h"
#include "output/text_figures.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "widgets/opener.h"
#include "widgets/program_title.h"
#include "widgets/record_writer.h"
#include "widgets/shared_menus.h"
#include "widgets/text_box.h"
#include "widgets/text_look.h"
#include "widgets/toolbar_icons.h"
#include "widgets/toolbar_strip.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::fromPath;
using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kWidthTwips = 9600;
constexpr int kHeightTwips = 7500;
constexpr int kGenerateButtonLeftTwips = 3 * ui::kToolButtonStepTwips;
constexpr int kGenerateButtonWidthTwips = 1095;
constexpr int kStatusGapTwips = 120;
constexpr int kStartDelayMs = 100;
constexpr int kStatsDelayMs = 100;
constexpr int kCopiedMs = 500;

}  // namespace

OutputWindow::OutputWindow(SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      host_(state.dialogs, kProgramTitle, this),
      text_(new QPlainTextEdit(this)),
      toolBar_(new QWidget(this)),
      exportButton_(new QToolButton(toolBar_)),
      copyAllButton_(new CaptionButton(toolBar_)),
      statsButton_(new QToolButton(toolBar_)),
      generateButton_(new QToolButton(toolBar_)),
      itemsLabel_(hiddenField(this, outputControls::items)),
      variantsLabel_(hiddenField(this, outputControls::variants)),
      recordStatus_(new QLabel(toolBar_)),
      startTimer_(oneShotTimer(this, QStringLiteral("GenerateNew"), kStartDelayMs)),
      statsTimer_(oneShotTimer(this, outputControls::statsTimer, kStatsDelayMs)),
      copyTimer_(oneShotTimer(this, QStringLiteral("TextCopy"), kCopiedMs)) {
    setObjectName(outputControls::window);
    setWindowTitle(QStringLiteral("[TITLE]"));

    text_->setObjectName(outputControls::text);
    text_->setAccessibleName(QStringLiteral("Generated text"));
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The right button opens the window's own popup, never the text box's menu (and the
    // context-menu event must not travel on to the sub-window's system menu either).
    text_->setContextMenuPolicy(Qt::PreventContextMenu);
    text_->viewport()->installEventFilter(this);
    applyTextLook(*text_, state_.settings.preview);

    createActions();
    createMenus();
    createToolBar();
    createStatusLine();

    connect(startTimer_, &QTimer::timeout, this, &OutputWindow::generate);
    connect(statsTimer_, &QTimer::timeout, this, &OutputWindow::openStatistics);
    connect(copyTimer_, &QTimer::timeout, this, [this] {
        copyTimer_->stop();
        showCopied(false);
        // The selection is copied once more, as the keystroke the button used to send did.
        copySelection();
    });
    connect(&state_.recordWriter, &RecordWriter::written, this,
            [this](quint64 ticket) { showRecordOutcome(ticket, QString()); });
    connect(&state_.recordWriter, &RecordWriter::failed, this, &OutputWindow::showRecordOutcome);

    // A jump shows its target at once, so boxes asked for after it are under the new title.
    host_.setOnJumped([this](const QString& newPath, const QString& target) {
        setWindowTitle(target);
        projectPath_ = newPath;
    });
    installBoxKeyPreview(*this, *text_);

    resize(twips(kWidthTwips), twips(kHeightTwips));
    state_.windowOpened();
    startTimer_->start();
    layoutWindow();
}

QList<QMenu*> OutputWindow::menuBarMenus() const {
    return menus_;
}

void OutputWindow::createActions() {
    generateAction_ =
        namedAction(this, QStringLiteral("GenerateX"), QStringLiteral("&Generate"), Qt::Key_F5);
    connect(generateAction_, &QAction::triggered, this, &OutputWindow::generate);
    copyAction_ = namedAction(this, QStringLiteral("CopyX"), QStringLiteral("&Copy"));
    connect(copyAction_, &QAction::triggered, this, &OutputWindow::copySelection);
    copyAllAction_ =
        namedAction(this, QStringLiteral("CopyAllX"), QStringLiteral("Co&py All"), Qt::Key_F7);
    connect(copyAllAction_, &QAction::triggered, this, &OutputWindow::copyAll);

    exportHtmlCodeAction_ =
        namedAction(this, QStringLiteral("ExportInHTMLCodeX"),
                    QStringLiteral("E&xport in HTML Code..."), QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(exportHtmlCodeAction_, &QAction::triggered, this,
            [this] { exportText(ExportKind::HtmlCode); });
    exportWebPageAction_ = namedAction(this, QStringLiteral("ExportInHTMLWebPageX"),
                                       QStringLiteral("Ex&port in HTML Web Page..."),
                                       QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(exportWebPageAction_, &QAction::triggered, this,
            [this] { exportText(ExportKind::WebPage); });
    exportTextFileAction_ =
        namedAction(this, QStringLiteral("ExportInTextFileX"),
                    QStringLiteral("Exp&ort in Text File..."), QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(exportTextFileAction_, &QAction::triggered, this,
            [this] { exportText(ExportKind::TextFile); });
    exportedFolderAction_ =
        namedAction(this, QStringLiteral("ExportedFolderX"), QStringLiteral("Exported &Folder..."));
    connect(exportedFolderAction_, &QAction::triggered, this, &OutputWindow::openExportedFolder);
    exportManyAction_ = namedAction(this, QStringLiteral("ExportManyTextsX"),
                                    QStringLiteral("Export &Many Texts..."));
    connect(exportManyAction_, &QAction::triggered, this, &OutputWindow::exportManyTexts);

    // The keys work whether or not the main window shows these menus. Inside the main window
    // Qt gives a window's shortcut only to the sub-window holding the focus, so several
    // generated-text windows with the same keys never clash.
    addActions({generateAction_, copyAllAction_, exportHtmlCodeAction_, exportWebPageAction_,
                exportTextFileAction_});
}

void OutputWindow::createMenus() {
    auto* file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("FileX"));
    addProjectItems(file, state_.commands, [this] { return projectPath_; });
    file->addSeparator();
    QMenu* exportTo = file->addMenu(QStringLiteral("&Export to..."));
    exportTo->setObjectName(QStringLiteral("ExportToHTMLX2"));
    exportTo->addActions({exportHtmlCodeAction_, exportWebPageAction_, exportTextFileAction_});
    exportTo->addSeparator();
    exportTo->addAction(exportManyAction_);
    file->addAction(exportedFolderAction_);
    file->addSeparator();
    addQuitItem(file, state_.commands);

    auto* edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("EditX"));
    edit->addActions({copyAction_, copyAllAction_});

    auto* view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("ViewX"));
    view->addAction(generateAction_);
    // The Stats button's command, reachable from the menu too.
    QAction* stats = namedAction(this, QStringLiteral("StatsX"), QStringLiteral("&Statistics..."));
    view->addAction(stats);
    connect(stats, &QAction::triggered, statsButton_, &QToolButton::click);

    menus_ = {file, edit, view, createWindowsMenu(this, state_.commands),
              createHelpMenu(this, state_.commands, QStringLiteral("MenuHelpX"))};

    // The right-click popup has actions of its own: same commands, other names.
    popup_ = new QMenu(QStringLiteral("Menu"), this);
    popup_->setObjectName(QStringLiteral("MenuX"));
    connect(popup_->addAction(QStringLiteral("&Regenerate...")), &QAction::triggered, this,
            &OutputWindow::generate);
    popup_->addSeparator();
    connect(popup_->addAction(QStringLiteral("&Copy")), &QAction::triggered, this,
            &OutputWindow::copySelection);
    connect(popup_->addAction(QStringLiteral("C&opyAll")), &QAction::triggered, this,
            &OutputWindow::copyAll);
    connect(popup_->addAction(QStringLiteral("Export to &TXT...")), &QAction::triggered, this,
            [this] { exportText(ExportKind::TextFile); });
    const QStringList popupNames = {QStringLiteral("ReGenerateX"), QString(),
                                    QStringLiteral("CopyX2"), QStringLiteral("CopyAllX2"),
                                    QStringLiteral("ExportToTxtX")};
    for (int i = 0; i < popupNames.size(); ++i) {
        popup_->actions().at(i)->setObjectName(popupNames.at(i));
    }
}

void OutputWindow::createToolBar() {
    toolBar_->setObjectName(outputControls::toolBar);
    const struct {
        QToolButton* button;
        const char* name;
        const char* toolTip;
        ToolbarIcon icon;
        int widthTwips;
    } buttons[] = {
        {exportButton_, outputControls::exportText,
         "Export to TXT file (For other options [File > Export To...])", ToolbarIcon::ExportText,
         ui::kToolButtonTwips},
        {copyAllButton_, outputControls::copyAll, "Copy ALL (or Press F7)", ToolbarIcon::CopyAll,
         ui::kToolButtonTwips},
        {statsButton_, outputControls::statistics, "Stats", ToolbarIcon::Statistics,
         ui::kToolButtonTwips},
        {generateButton_, outputControls::generate, "Generate again (or Press F5)",
         ToolbarIcon::Generate, kGenerateButtonWidthTwips},
    };
    int left = 0;
    for (const auto& b : buttons) {
        setUpToolbarButton(*b.button, b.name, toolbarIcon(b.icon), b.toolTip, left, b.widthTwips);
        left += ui::kToolButtonStepTwips;
    }
    connect(exportButton_, &QToolButton::clicked, this,
            [this] { exportText(ExportKind::TextFile); });
    connect(copyAllButton_, &QToolButton::clicked, this, &OutputWindow::copyAll);
    connect(statsButton_, &QToolButton::clicked, statsTimer_, qOverload<>(&QTimer::start));
    connect(generateButton_, &QToolButton::clicked, this, &OutputWindow::generate);
}

void OutputWindow::createStatusLine() {
    recordStatus_->setObjectName(outputControls::recordStatus);
    recordStatus_->setWordWrap(true);
    recordStatus_->setTextFormat(Qt::PlainText);
    recordStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    recordStatus_->hide();
}

void OutputWindow::layoutWindow() {
    ui::layOutStripOverText(*this, *toolBar_, *text_);
    const int statusLeft =
        twips(kGenerateButtonLeftTwips + kGenerateButtonWidthTwips + kStatusGapTwips);
    recordStatus_->setGeometry(statusLeft, 0, std::max(0, width() - statusLeft),
                               toolBar_->height());
}

void OutputWindow::generate() {
    startTimer_->stop();
    // A box of the running generation keeps an event loop going; a second run started from
    // it would pull the engine's host from under the first.
    if (generating_) {
        return;
    }
    layoutWindow();
    engine::GenerationResult result;
    {
        const QScopedValueRollback running(generating_, true);
        engine::Options options;
        options.appFolder = state_.app.root();
        result = engine::generate(toUtf8(projectPath_), options, host_, state_.random);
    }
    deliver(result);
    emit generated();
    if (result.endRequested || closeWhenDone_) {
        closeWindow();
    }
}

void OutputWindow::deliver(engine::GenerationResult& result) {
    setBoxText(*text_, result.text);
    itemsLabel_->setText(QString::number(result.alternativeCount));
    variantCount_ = std::move(result.variantCount);
    variantsLabel_->setText(toQString(variantCountText(variantCount_)));
    if (result.caption) {
        setWindowTitle(toQString(*result.caption));
        projectPath_ = toQString(result.projectPath);
    }
    // The record is written while the user reads; it never holds up the text.
    recordTicket_ = state_.recordWriter.write(std::move(result.record), state_.app.root());

    if (!result.warnings.empty()) {
        QStringList warnings;
        for (const engine::Warning& warning : result.warnings) {
            warnings << toQString(warning.text);
        }
        warn(warnings.join(QLatin1Char('\n')));
    }
}

void OutputWindow::showRecordOutcome(quint64 ticket, const QString& failure) {
    // Only this window's latest record speaks here; other windows' records are theirs.
    if (ticket != recordTicket_) {
        return;
    }
    recordStatus_->setText(failure);
    recordStatus_->setToolTip(failure);
    recordStatus_->setVisible(!failure.isEmpty());
}

void OutputWindow::copyAll() {
    showCopied(true);
    text_->selectAll();
    text_->setFocus();
    QApplication::clipboard()->setText(toQString(boxText(*text_)));
    copyTimer_->start();
}

void OutputWindow::copySelection() {
    copyBoxSelection(*text_);
}

void OutputWindow::showCopied(bool copied) {
    copyAllButton_->setText(copied ? kCopiedCaption : QString());
}

void OutputWindow::openStatistics() {
    statsTimer_->stop();
    const std::string text = boxText(*text_);
    auto* stats = new StatsWindow(state_);
    activateOpenerOnClose(state_.commands.addChild(stats), outerWindow(this));
    stats->setFigures(QString::number(characterCount(text)), QString::number(wordCount(text)),
                      itemsLabel_->text(), variantsLabel_->text());
    emit statisticsOpened(stats);
}

void OutputWindow::exportText(ExportKind kind) {
    text_->setFocus();
    std::filesystem::path file;
    const store::Outcome outcome =
        writeExport(state_.app, kind, toUtf8(windowTitle()), boxText(*text_), &file);
    // A failed write leaves nothing to show: the folder or page would only mislead.
    if (!outcome) {
        warn(toQString(outcome.message()));
        return;
    }
    // The file is written either way: a desktop that cannot show it must not sound like a loss.
    if (kind == ExportKind::WebPage) {
        if (!state_.desktop.openDocument(fromPath(file))) {
            warn(QStringLiteral("\"%1\" was saved. ").arg(fromPath(file)) +
                 documentNotOpenedText(fromPath(file)));
        }
        return;
    }
    const QString folder = fromPath(state_.app.exported());
    if (!state_.desktop.openFolder(folder)) {
        warn(savedButFolderNotShownText(fromPath(file), folder));
    }
}

void OutputWindow::openExportedFolder() {
    const QString folder = fromPath(state_.app.exported());
    if (!state_.desktop.openFolder(folder)) {
        warn(folderNotShownText(folder));
    }
}

void OutputWindow::exportManyTexts() {
    if (batchExport_) {
        return;  // one batch at a time: its progress box is up
    }
    BatchDialog dialog(fromPath(state_.app.exported()), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    batchExport_ = new BatchExport(state_, this, windowTitle(), projectPath_);
    connect(batchExport_, &BatchExport::finished, this, [this] {
        batchExport_->deleteLater();
        batchExport_ = nullptr;
    });
    batchExport_->start(dialog.request());
}

bool OutputWindow::mayStopBatch() {
    if (batchExport_ == nullptr || !batchExport_->isRunning()) {
        return true;
    }
    // The script's own box is up: it is answered first.
    if (batchExport_->isAsking()) {
        return false;
    }
    const platform::Answer answer = state_.dialogs.question(
        this, kProgramTitle,
        QStringLiteral("Export Many Texts has written %L1 of %L2 texts so far. Stop it and close "
                       "the window? The texts written are kept.")
            .arg(batchExport_->written())
            .arg(batchExport_->request().count),
        platform::Buttons::YesNo, platform::Answer::No);
    if (answer != platform::Answer::Yes) {
        return false;
    }
    batchExport_->stop();
    return true;
}

void OutputWindow::warn(const QString& text) {
    state_.dialogs.warning(this, kProgramTitle, text);
}

void OutputWindow::closeWindow() {
    closeChildWindow(this);
}

void OutputWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Inside the main window the outer size is the sub-window's, frame and title bar included.
    if (!sized_) {
        sized_ = true;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->resize(twips(kWidthTwips), twips(kHeightTwips));
            // The sub-window's system menu binds Ctrl+W to close; here it is the web page
            // export, and two bindings of one key would leave both dead.
            if (QMenu* systemMenu = frame->systemMenu()) {
                for (QAction* action : systemMenu->actions()) {
                    QList<QKeySequence> keys = action->shortcuts();
                    if (keys.removeAll(exportWebPageAction_->shortcut()) > 0) {
                        action->setShortcuts(keys);
                    }
                }
            }
        }
    }
}

void OutputWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutWindow();
}

void OutputWindow::closeEvent(QCloseEvent* event) {
    // The running generation's host and boxes belong to this window: it closes once the run
    // is over.
    if (generating_) {
        closeWhenDone_ = true;
        event->ignore();
        return;
    }
    if (!mayStopBatch()) {
        event->ignore();
        return;
    }
    if (!closed_) {
        closed_ = true;
        startTimer_->stop();
        statsTimer_->stop();
        copyTimer_->stop();
        state_.windowClosed();
    }
    event->accept();
}

bool OutputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            text_->setFocus();
            popup_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace korvex::ui
