#include "editor/editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "editor/brace_match.h"
#include "editor/diagnostics_list.h"
#include "editor/edit_menu.h"
#include "editor/editor_controls.h"
#include "editor/editor_file.h"
#include "editor/editor_panes.h"
#include "editor/editor_toolbar.h"
#include "editor/file_watch.h"
#include "editor/find_replace.h"
#include "editor/long_lines.h"
#include "editor/preview_pane.h"
#include "editor/script_highlighter.h"
#include "editor/status_line.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/key_preview.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "store/highlighting.h"
#include "store/project_name.h"
#include "store/word_wrap.h"
#include "widgets/program_title.h"
#include "widgets/shared_menus.h"
#include "widgets/toolbar_strip.h"
#include "widgets/window_parts.h"

namespace korvex::editor {

using platform::Answer;
using platform::fromPath;
using platform::toQString;
using platform::toUtf8;
using platform::twips;
using ui::kProgramTitle;
using ui::namedAction;
using ui::oneShotTimer;
using ui::outerWindow;

namespace {

constexpr int kWidthTwips = 9600;
constexpr int kHeightTwips = 7500;
constexpr int kLoadDelayMs = 100;
constexpr int kSavedMs = 500;
constexpr int kExternalEditorStepMs = 500;

}  // namespace

EditorWindow::EditorWindow(ui::SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      outOfSight_(state.settings.useExternalEditor),
      panes_(new EditorPanes(this)),
      toolBar_(new EditorToolBar(this)),
      editMenu_(new EditMenu(*panes_, state.dialogs, this)),
      highlighters_{new ScriptHighlighter(panes_->unwrapped()->document()),
                    new ScriptHighlighter(panes_->wrapped()->document())},
      sight_(new LongLineSight(*panes_, highlighters_, this)),
      diagnostics_(new DiagnosticsList(
          *panes_, [this] { return checkOptions(); }, this)),
      findBar_(new FindReplaceBar(*panes_, state.dialogs, this)),
      braces_(new BraceMarks(*panes_, this)),
      statusLine_(new StatusLine(*panes_, this)),
      fileWatch_(new FileWatch(this)),
      preview_(new PreviewPane(
          *panes_, [this] { return previewSource(); }, state.app, state.settings.preview,
          !outOfSight_, this)),
      loadTimer_(oneShotTimer(this, QStringLiteral("loadThis"), kLoadDelayMs)),
      savedTimer_(oneShotTimer(this, QStringLiteral("TextCopy"), kSavedMs)),
      extEditorTimer_(oneShotTimer(this, QStringLiteral("ExtEditor"), kExternalEditorStepMs)),
      extEditor2Timer_(oneShotTimer(this, QStringLiteral("ExtEditor2"), kExternalEditorStepMs)) {
    setObjectName(editorControls::window);
    setWindowTitle(QStringLiteral("Editor Project"));

    createActions();
    createMenus();
    connectToolBar();
    connect(loadTimer_, &QTimer::timeout, this, &EditorWindow::load);
    connect(savedTimer_, &QTimer::timeout, this, &EditorWindow::endSavedFeedback);
    connect(extEditorTimer_, &QTimer::timeout, this, &EditorWindow::generateOutOfSight);
    connect(extEditor2Timer_, &QTimer::timeout, this, &EditorWindow::handOverAndClose);
    connect(panes_, &EditorPanes::contextMenuWanted, this, &EditorWindow::showEditMenu);
    connect(diagnostics_, &DiagnosticsList::shownChanged, this, &EditorWindow::layoutWindow);
    connect(findBar_, &FindReplaceBar::shownChanged, this, &EditorWindow::layoutWindow);
    connect(fileWatch_, &FileWatch::shownChanged, this, &EditorWindow::layoutWindow);
    connect(fileWatch_, &FileWatch::reloadWanted, this, &EditorWindow::load);
    connect(panes_, &EditorPanes::modifiedChanged, this, [this](bool modified) {
        showModifiedInTitle();
        fileWatch_->setModified(modified);
    });
    connect(preview_, &PreviewPane::switched, this, &EditorWindow::layoutWindow);

    // A pane keeps some keys of the window's commands for itself where the desktop binds
    // them (Ctrl+U, Ctrl+Y): the key preview sees them first and runs the command.
    platform::installKeyPreview(this, [this](QKeyEvent& key) {
        // Esc in the find bar closes the bar, not the window.
        if (key.key() == Qt::Key_Escape && findBar_->isAncestorOf(focusWidget())) {
            findBar_->dismiss();
            return true;
        }
        const QKeySequence pressed(key.keyCombination());
        for (QAction* action : actions()) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                action->trigger();
                return true;
            }
        }
        return false;
    });

    if (outOfSight_) {
        // Never shown, so no sub-window deletes it: closing does.
        setAttribute(Qt::WA_DeleteOnClose);
        extEditorTimer_->start();
        setHighlighting(false);
    } else {
        panes_->applyLook(state_.settings.editor);
        for (ScriptHighlighter* highlighter : highlighters_) {
            highlighter->setBackground(panes_->unwrapped()->palette().color(QPalette::Base));
            highlighter->setOn(highlightAction_->isChecked());
        }
        diagnostics_->followTyping();
        resize(twips(kWidthTwips), twips(kHeightTwips));
        layoutWindow();
    }
    loadTimer_->start();
}

bool EditorWindow::isModified() const {
    return panes_->modified();
}

QList<QMenu*> EditorWindow::menuBarMenus() const {
    return menus_;
}

void EditorWindow::createActions() {
    saveAction_ = namedAction(this, QStringLiteral("SaveX"), QStringLiteral("&Save"), Qt::Key_F8);
    connect(saveAction_, &QAction::triggered, this, &EditorWindow::save);
    generateAction_ =
        namedAction(this, QStringLiteral("GenerateX"), QStringLiteral("&Generate..."), Qt::Key_F5);
    connect(generateAction_, &QAction::triggered, this, &EditorWindow::generate);
    externalEditorAction_ = namedAction(this, QStringLiteral("ExternalEditorX"),
                                        QStringLiteral("&External Editor..."), Qt::Key_F9);
    connect(externalEditorAction_, &QAction::triggered, this, &EditorWindow::editExternally);
    highlightAction_ =
        namedAction(this, QStringLiteral("HighlightX"), QStringLiteral("Syntax &Highlighting"));
    highlightAction_->setCheckable(true);
    highlightAction_->setChecked(!outOfSight_ && store::readHighlighting(state_.app));
    connect(highlightAction_, &QAction::triggered, this, &EditorWindow::setHighlighting);

    // The keys work whether or not the main window shows these menus; Qt gives them only to
    // the sub-window that holds the focus.
    addActions({saveAction_, generateAction_, externalEditorAction_});
    addActions(editMenu_->shortcutActions());
    addActions(findBar_->actions());
    addActions(preview_->actions());
}

void EditorWindow::createMenus() {
    auto* file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("FileX"));
    ui::addProjectItems(file, state_.commands, [this] { return projectPath_; });
    file->addSeparator()->setObjectName(QStringLiteral("LNN2"));
    file->addAction(saveAction_);
    file->addSeparator()->setObjectName(QStringLiteral("LNN1"));
    ui::addQuitItem(file, state_.commands);

    editMenu_->addAction(externalEditorAction_);

    auto* search = new QMenu(QStringLiteral("&Search"), this);
    search->setObjectName(QStringLiteral("SearchX"));
    search->addActions(findBar_->actions());

    auto* view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("ViewX"));
    view->addAction(generateAction_);
    view->addSeparator();
    view->addAction(highlightAction_);
    view->addSeparator();
    view->addActions(preview_->actions());

    QMenu* help = ui::createHelpMenu(this, state_.commands, QStringLiteral("MenuHelpX"));
    // Here the Help item has no access key.
    help->findChild<QAction*>(QStringLiteral("HelpX"))->setText(QStringLiteral("Help..."));

    menus_ = {file, editMenu_, search, view, ui::createWindowsMenu(this, state_.commands), help};
    addToolBarMenuItems(file, view);
}

void EditorWindow::addToolBarMenuItems(QMenu* file, QMenu* view) {
    // The toolbar's commands that have no key of their own, reachable from the menus: each
    // item presses its button, so both do exactly the same.
    using Button = EditorToolBar::Button;
    const auto item = [this](QMenu* menu, QAction* before, const char* name, const char* caption,
                             Button which, const QKeySequence& key = {}) {
        QAction* action =
            ui::namedAction(this, QString::fromLatin1(name), QString::fromLatin1(caption), key);
        menu->insertAction(before, action);
        connect(action, &QAction::triggered, toolBar_->button(which), &QToolButton::click);
    };
    QAction* beforeQuit = file->actions().at(file->actions().indexOf(saveAction_) + 1);
    item(file, beforeQuit, "ImportFromTextX", "&Import from Text...", Button::Import);
    item(file, beforeQuit, "CreateRuntimeX", "Create &Runtime...", Button::Runtime);
    view->addSeparator();
    item(view, nullptr, "WordWrapX", "Word &Wrap", Button::WordWrap);
    item(view, nullptr, "FontLargerX", "&Larger Font", Button::FontLarger,
         QKeySequence(Qt::CTRL | Qt::Key_Plus));
    item(view, nullptr, "FontSmallerX", "&Smaller Font", Button::FontSmaller,
         QKeySequence(Qt::CTRL | Qt::Key_Minus));
}

void EditorWindow::connectToolBar() {
    using Button = EditorToolBar::Button;
    const auto onClick = [this](Button which, auto command) {
        connect(toolBar_->button(which), &QToolButton::clicked, this, command);
    };
    onClick(Button::FontSmaller, [this] { panes_->changeFontSize(-1); });
    onClick(Button::FontLarger, [this] { panes_->changeFontSize(1); });
    onClick(Button::WordWrap, &EditorWindow::toggleWordWrap);
    onClick(Button::Save, &EditorWindow::save);
    onClick(Button::Generate, &EditorWindow::generate);
    onClick(Button::Import, &EditorWindow::openImport);
    onClick(Button::Runtime, &EditorWindow::createRuntime);
    onClick(Button::ExternalEditor, &EditorWindow::editExternally);
}

// From the top: the toolbar, the reload bar while it asks, the panes; from the foot: the
// status line, the find bar while it is open, the findings while there are any.
void EditorWindow::layoutWindow() {
    const int toolBarHeight = twips(ui::kToolBarHeightTwips);
    toolBar_->setGeometry(0, 0, width(), toolBarHeight);
    int top = toolBarHeight;
    if (fileWatch_->isAsking()) {
        const int barHeight = fileWatch_->sizeHint().height();
        fileWatch_->setGeometry(0, top, width(), barHeight);
        top += barHeight;
    }
    int bottom = height();
    const auto placeAtFoot = [this, &bottom](QWidget* part, int partHeight) {
        bottom -= partHeight;
        part->setGeometry(0, bottom, width(), partHeight);
    };
    placeAtFoot(statusLine_, statusLine_->sizeHint().height());
    if (!findBar_->isHidden()) {
        placeAtFoot(findBar_, findBar_->sizeHint().height());
    }
    const int listHeight = diagnostics_->wantedHeight(bottom - top);
    const int paneTop = top + twips(ui::kTextGapTwips);
    const int paneHeight = bottom - top - twips(ui::kTextBottomTwips) - listHeight;
    // A window shorter than its toolbar (or minimised) leaves the panes where they were.
    if (paneHeight < 0) {
        return;
    }
    placeAtFoot(diagnostics_->widget(), listHeight);
    const int previewWidth = preview_->wantedWidth(width());
    panes_->setGeometry(
        QRect(twips(ui::kTextLeftTwips), paneTop, width() - previewWidth, paneHeight));
    preview_->setGeometry(width() - previewWidth, paneTop, previewWidth, paneHeight);
}

void EditorWindow::showModifiedInTitle() {
    // The title stays the project's name, which the window's commands go by; only the frame
    // shows the marker.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->setWindowTitle(windowTitle() + (isModified() ? QStringLiteral(" *") : QString()));
    }
}

void EditorWindow::rememberFile() {
    if (file_ && !outOfSight_) {
        fileWatch_->remember(fromPath(*file_));
    }
}

void EditorWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ParentChange) {
        showModifiedInTitle();
    }
}

void EditorWindow::load() {
    loadTimer_->stop();
    if (!listed_) {
        state_.windowOpened();
        listed_ = true;
    }
    if (!pathSet_) {
        const std::string name = toUtf8(windowTitle());
        projectPath_ = toQString(store::projectPath(state_.prgFolder, name));
        file_ = state_.app.projectFile(state_.prgFolder, name);
        pathSet_ = true;
    }
    const bool wrapped = store::readWordWrap(state_.app);
    QString failure;
    std::optional<ScriptText> script;
    if (file_) {
        script = readScriptFile(*file_, failure);
    } else {
        const std::string fileName = toUtf8(windowTitle()) + std::string(store::kProjectExtension);
        failure = toQString(store::failureText(
            "read", state_.app.folder(state_.prgFolder) / fileName, store::kNotAProjectName));
    }
    if (!script) {
        warn(failure);
        // An empty pane in its place would be saved over the file: the first load that
        // fails closes the window, a reload leaves the text as it was.
        if (!loadedOnce_) {
            unreadable_ = true;
            closeWindow();
        }
        return;
    }
    encoding_ = script->encoding;
    byteOrderMark_ = script->byteOrderMark;
    panes_->load(script->text, wrapped);
    loadedOnce_ = true;
    rememberFile();
    // The user writes as soon as the script is there, where a new script is written.
    if (!outOfSight_) {
        panes_->placeCaret(writingPlace(script->text));
        panes_->focusShown();
    }
    emit loaded();
}

bool EditorWindow::writeScript() {
    panes_->prepareHandOver();
    // Before the first load the pane holds nothing of the file: writing it would empty it.
    if (!loadedOnce_ || !file_) {
        return false;
    }
    const store::Outcome outcome =
        writeScriptFile(*file_, panes_->unwrappedText(), encoding_, byteOrderMark_);
    if (!outcome) {
        warn(toQString(outcome.message()));
        return false;
    }
    rememberFile();
    return true;
}

bool EditorWindow::save() {
    if (!writeScript()) {
        return false;
    }
    panes_->setModified(false);
    toolBar_->showSaved(true);
    savedTimer_->start();
    return true;
}

bool EditorWindow::saveQuietly() {
    if (!writeScript()) {
        return false;
    }
    panes_->setModified(false);
    return true;
}

void EditorWindow::endSavedFeedback() {
    savedTimer_->stop();
    toolBar_->showSaved(false);
    // The end of the feedback puts a focused pane's selection on the clipboard. It never
    // moves the focus: the user may be typing in another window by now.
    if (QPlainTextEdit* pane = panes_->paneWithFocus(); pane && pane->textCursor().hasSelection()) {
        pane->copy();
    }
}

void EditorWindow::toggleWordWrap() {
    panes_->toggleWrap();
    // The findings go with the pane now shown.
    diagnostics_->scheduleCheck();
    save();
    panes_->focusShown();
}

void EditorWindow::generate() {
    if (!panes_->isWrapped()) {
        panes_->focusShown();
    }
    if (state_.settings.useExternalEditor) {
        openOutput();
        return;
    }
    if (!state_.settings.saveWithoutAsking && isModified()) {
        const Answer answer = state_.dialogs.question(this, kProgramTitle, kSaveQuestion);
        if (answer == Answer::Cancel) {
            return;
        }
        // No: the generated text comes from the file as last saved.
        if (answer == Answer::No) {
            openOutput();
            return;
        }
    }
    panes_->prepareHandOver();
    panes_->expandTabs();
    // Generating from a file the save could not write would show text the user did not write.
    if (saveQuietly()) {
        openOutput();
    }
}

void EditorWindow::openOutput() {
    // Out of sight there is no place to stand beside: the main window's area places it.
    state_.commands.openOutput(windowTitle(), projectPath_, outOfSight_ ? nullptr : this);
}

void EditorWindow::openImport() {
    panes_->prepareHandOver();
    state_.commands.openImport();
}

void EditorWindow::createRuntime() {
    panes_->prepareHandOver();
    if (windowTitle().isEmpty()) {
        return;
    }
    state_.commands.createRuntime(windowTitle(), projectPath_);
}

void EditorWindow::editExternally() {
    panes_->prepareHandOver();
    Answer answer = Answer::Yes;
    if (isModified()) {
        answer = state_.dialogs.question(this, kProgramTitle, kSaveQuestion);
        if (answer == Answer::Cancel) {
            return;
        }
    }
    // A failed save stops here: the reload would replace the unsaved text with the old file.
    if ((answer == Answer::Yes && !saveQuietly()) || !file_) {
        return;
    }
    startExternalEditor();
    state_.dialogs.information(this, kProgramTitle, QStringLiteral("Press OK to Refresh."));
    if (listed_) {
        state_.windowClosed();
        listed_ = false;
    }
    loadTimer_->start();
}

bool EditorWindow::startExternalEditor() {
    // The path goes as one argument, so a folder with spaces in its name is no trouble.
    const QString program = fromPath(state_.app.externalEditor());
    if (state_.desktop.startProgram(program, {fromPath(*file_)})) {
        return true;
    }
    warn(QStringLiteral("Could not start the external editor \"%1\".").arg(program));
    return false;
}

void EditorWindow::generateOutOfSight() {
    generate();
    extEditor2Timer_->start();
}

void EditorWindow::handOverAndClose() {
    if (file_) {
        startExternalEditor();
    }
    closeWindow();
}

void EditorWindow::showEditMenu(QPlainTextEdit* pane, QPoint globalPosition) {
    pane->setFocus(Qt::MouseFocusReason);
    editMenu_->popup(globalPosition);
}

void EditorWindow::setHighlighting(bool on) {
    highlightAction_->setChecked(on);
    panes_->restyle([this, on] {
        for (ScriptHighlighter* highlighter : highlighters_) {
            highlighter->setOn(on);
        }
    });
    sight_->follow();
    // Out of sight the choice is not the user's to keep. Like the word-wrap state, a choice
    // that cannot be written is simply not kept.
    if (!outOfSight_) {
        store::writeHighlighting(state_.app, on);
    }
}

std::optional<engine::CheckOptions> EditorWindow::checkOptions() const {
    if (!loadedOnce_ || !file_) {
        return std::nullopt;
    }
    engine::CheckOptions options;
    options.includeFolder = state_.app.root();
    options.jumpFolder = file_->parent_path();
    options.scriptFile = *file_;
    return options;
}

std::optional<PreviewSource> EditorWindow::previewSource() const {
    if (!loadedOnce_ || !file_) {
        return std::nullopt;
    }
    return PreviewSource{state_.app.root(), toUtf8(projectPath_), {}, {}};
}

void EditorWindow::warn(const QString& text) {
    state_.dialogs.warning(this, kProgramTitle, text);
}

void EditorWindow::closeWindow() {
    ui::closeChildWindow(this);
}

void EditorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Inside the main window the outer size is the sub-window's, frame and title bar included.
    if (!sized_) {
        sized_ = true;
        outerWindow(this)->resize(twips(kWidthTwips), twips(kHeightTwips));
    }
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutWindow();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (!closed_ && !outOfSight_ && !unreadable_ && isModified()) {
        const Answer answer = state_.dialogs.question(
            this, kProgramTitle,
            QStringLiteral("Do You Want To Saving %1?").arg(windowTitle().toUpper()));
        // Cancel keeps the window, and so does a save that failed: its text is not on disk.
        if (answer == Answer::Cancel || (answer == Answer::Yes && !writeScript())) {
            event->ignore();
            return;
        }
    }
    if (!closed_) {
        closed_ = true;
        for (QTimer* timer : {loadTimer_, savedTimer_, extEditorTimer_, extEditor2Timer_}) {
            timer->stop();
        }
        if (listed_) {
            state_.windowClosed();
            listed_ = false;
        }
        // Closing an unmodified window writes nothing of the script: the file may hold a
        // newer save from another window or the external editor. The wrap state is the
        // program's, and the last window to close decides it.
        if (loadedOnce_ && !outOfSight_) {
            store::writeWordWrap(state_.app, panes_->isWrapped());
        }
    }
    event->accept();
}

}  // namespace korvex::editor
