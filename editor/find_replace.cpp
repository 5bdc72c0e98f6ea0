#include "editor/find_replace.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

#include "editor/editor_panes.h"
#include "platform/dialogs.h"
#include "widgets/program_title.h"
#include "widgets/window_parts.h"

namespace korvex::editor {
namespace {

QPushButton* barButton(const QString& name, const QString& caption, QWidget* bar) {
    auto* button = new QPushButton(caption, bar);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* field(const QString& name, const QString& hint, QWidget* bar) {
    auto* edit = new QLineEdit(bar);
    edit->setObjectName(name);
    edit->setPlaceholderText(hint);
    edit->setAccessibleName(hint);
    edit->setClearButtonEnabled(true);
    return edit;
}

}  // namespace

FindReplaceBar::FindReplaceBar(EditorPanes& panes, platform::Dialogs& dialogs, QWidget* window)
    : QWidget(window),
      panes_(panes),
      dialogs_(dialogs),
      findText_(field(QStringLiteral("FindText"), QStringLiteral("Find"), this)),
      replaceText_(field(QStringLiteral("ReplaceText"), QStringLiteral("Replace with"), this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      result_(ui::namedLabel(QStringLiteral("FindResult"), QString(), this)) {
    setObjectName(QStringLiteral("FindReplace"));
    setAccessibleName(QStringLiteral("Find and replace"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    auto* next = barButton(QStringLiteral("FindNextButton"), QStringLiteral("&Next"), this);
    auto* previous =
        barButton(QStringLiteral("FindPreviousButton"), QStringLiteral("Pre&vious"), this);
    auto* replaceOne = barButton(QStringLiteral("ReplaceButton"), QStringLiteral("&Replace"), this);
    auto* replaceEvery =
        barButton(QStringLiteral("ReplaceAllButton"), QStringLiteral("Replace &All"), this);
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("CloseFind"));
    close->setText(QStringLiteral("\u00d7"));
    close->setToolTip(QStringLiteral("Close (Esc)"));
    close->setAccessibleName(QStringLiteral("Close find and replace"));
    close->setAutoRaise(true);

    // Find on the first row, replace under it: one row is too narrow for a window of the
    // editor's first size. The fields take what width there is.
    auto* rows = new QGridLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setVerticalSpacing(2);
    rows->addWidget(findText_, 0, 0);
    rows->addWidget(next, 0, 1);
    rows->addWidget(previous, 0, 2);
    rows->addWidget(matchCase_, 0, 3);
    rows->addWidget(close, 0, 4, Qt::AlignRight);
    rows->addWidget(replaceText_, 1, 0);
    rows->addWidget(replaceOne, 1, 1);
    rows->addWidget(replaceEvery, 1, 2);
    rows->addWidget(result_, 1, 3, 1, 2);
    rows->setColumnStretch(0, 1);
    hide();

    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(replaceOne, &QPushButton::clicked, this, &FindReplaceBar::replace);
    connect(replaceEvery, &QPushButton::clicked, this, &FindReplaceBar::replaceAll);
    connect(close, &QToolButton::clicked, this, &FindReplaceBar::dismiss);
    connect(findText_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(replaceText_, &QLineEdit::returnPressed, this, &FindReplaceBar::replace);
    connect(findText_, &QLineEdit::textEdited, result_, &QLabel::clear);

    const auto command = [this](const char* name, const char* caption, const QKeySequence& key,
                                auto slot) {
        QAction* action =
            ui::namedAction(this, QString::fromLatin1(name), QString::fromLatin1(caption), key);
        connect(action, &QAction::triggered, this, slot);
        commands_ << action;
    };
    command("FindReplaceX", "&Find and Replace...", QKeySequence(Qt::CTRL | Qt::Key_R),
            &FindReplaceBar::open);
    command("FindNextX", "Find &Next", QKeySequence(Qt::Key_F6), [this] { findNext(); });
    command("FindPreviousX", "Find &Previous", QKeySequence(Qt::SHIFT | Qt::Key_F6),
            [this] { findNext(true); });
    command("GoToLineX", "&Go to Line...", QKeySequence(Qt::CTRL | Qt::Key_G),
            &FindReplaceBar::goToLine);
}

void FindReplaceBar::open() {
    // A selection of one line is what the user wants to find; a longer one is not.
    const QString selected = panes_.shown()->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
        findText_->setText(selected);
    }
    show();
    findText_->setFocus(Qt::ShortcutFocusReason);
    findText_->selectAll();
}

void FindReplaceBar::dismiss() {
    hide();
    panes_.focusShown();
}

void FindReplaceBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shownChanged();
}

void FindReplaceBar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit shownChanged();
}

bool FindReplaceBar::findNext(bool backwards) {
    const QString wanted = findText_->text();
    if (wanted.isEmpty()) {
        open();
        return false;
    }
    QTextDocument::FindFlags flags;
    if (backwards) {
        flags |= QTextDocument::FindBackward;
    }
    if (matchCase_->isChecked()) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    QPlainTextEdit* pane = panes_.shown();
    QTextDocument* document = pane->document();
    QTextCursor found = document->find(wanted, pane->textCursor(), flags);
    if (found.isNull()) {
        // Round from the other end, as far as the caret.
        QTextCursor from(document);
        from.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        found = document->find(wanted, from, flags);
    }
    if (found.isNull()) {
        result_->setText(QStringLiteral("Not found"));
        return false;
    }
    result_->clear();
    pane->setTextCursor(found);
    pane->ensureCursorVisible();
    return true;
}

bool FindReplaceBar::selectionIsFound(QPlainTextEdit* pane) const {
    const Qt::CaseSensitivity sensitivity =
        matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return pane->textCursor().hasSelection() &&
           pane->textCursor().selectedText().compare(findText_->text(), sensitivity) == 0;
}

void FindReplaceBar::replace() {
    QPlainTextEdit* pane = panes_.shown();
    if (!findText_->text().isEmpty() && selectionIsFound(pane)) {
        pane->textCursor().insertText(replaceText_->text());
    }
    findNext();
}

int FindReplaceBar::replaceAll() {
    const QString wanted = findText_->text();
    if (wanted.isEmpty()) {
        return 0;
    }
    QTextDocument::FindFlags flags;
    if (matchCase_->isChecked()) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    QPlainTextEdit* pane = panes_.shown();
    QTextDocument* document = pane->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    for (QTextCursor found = document->find(wanted, 0, flags); !found.isNull();
         found = document->find(wanted, found, flags)) {
        found.insertText(replaceText_->text());
        ++count;
    }
    edit.endEditBlock();
    result_->setText(count == 0 ? QStringLiteral("Not found")
                                : QStringLiteral("%1 replaced").arg(count));
    return count;
}

void FindReplaceBar::goToLine() {
    QPlainTextEdit* pane = panes_.shown();
    QTextDocument* document = pane->document();
    const QTextCursor caret = pane->textCursor();
    const std::optional<QString> answer = dialogs_.input(
        window(), ui::kProgramTitle,
        QStringLiteral("Go to line (1 to %1), or line:column:").arg(document->blockCount()),
        QString::number(caret.blockNumber() + 1));
    if (!answer) {
        return;
    }
    const QStringList parts = answer->trimmed().split(u':');
    bool lineRead = false;
    bool columnRead = true;
    const int line = parts.value(0).toInt(&lineRead);
    const int column = parts.size() > 1 ? parts.value(1).toInt(&columnRead) : 1;
    if (!lineRead || !columnRead || parts.size() > 2) {
        return;
    }
    // A number past either end goes to that end.
    const QTextBlock block =
        document->findBlockByNumber(std::clamp(line, 1, document->blockCount()) - 1);
    QTextCursor place(block);
    place.setPosition(block.position() + std::clamp(column, 1, block.length()) - 1);
    pane->setTextCursor(place);
    pane->ensureCursorVisible();
    pane->setFocus(Qt::OtherFocusReason);
}

}  // namespace korvex::editor
