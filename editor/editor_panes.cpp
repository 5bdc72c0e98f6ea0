#include "editor/editor_panes.h"

#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>

#include "editor/editor_controls.h"
#include "editor/long_lines.h"
#include "widgets/text_box.h"
#include "widgets/text_look.h"

namespace korvex::editor {
namespace {

QPlainTextEdit* createPane(QWidget* window, const QString& name, bool wrapping) {
    auto* pane = new QPlainTextEdit(window);
    pane->setObjectName(name);
    pane->setAccessibleName(wrapping ? QStringLiteral("Script, wrapped")
                                     : QStringLiteral("Script"));
    pane->setLineWrapMode(wrapping ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setHorizontalScrollBarPolicy(wrapping ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    // The right button opens the window's Edit menu, never the pane's own.
    pane->setContextMenuPolicy(Qt::PreventContextMenu);
    return pane;
}

}  // namespace

EditorPanes::EditorPanes(QWidget* window)
    : QObject(window),
      unwrapped_(createPane(window, editorControls::unwrappedPane, false)),
      wrapped_(createPane(window, editorControls::wrappedPane, true)) {
    wrapped_->hide();
    for (QPlainTextEdit* pane : {unwrapped_, wrapped_}) {
        pane->viewport()->installEventFilter(this);
        const bool isWrapped = pane == wrapped_;
        connect(pane, &QPlainTextEdit::textChanged, this, [this, isWrapped] {
            if (!copying_) {
                (isWrapped ? unwrappedCurrent_ : wrappedCurrent_) = false;
                emit textChanged();
            }
        });
        // The document knows whether its undo steps lead back to the text last saved.
        connect(pane->document(), &QTextDocument::modificationChanged, this,
                &EditorPanes::tellModified);
    }
}

bool EditorPanes::modified() const {
    return shown()->document()->isModified();
}

void EditorPanes::setModified(bool modified) {
    unwrapped_->document()->setModified(modified);
    wrapped_->document()->setModified(modified);
    tellModified();
}

void EditorPanes::tellModified() {
    if (modified() != lastModified_) {
        lastModified_ = modified();
        emit modifiedChanged(lastModified_);
    }
}

QPlainTextEdit* EditorPanes::shown() const {
    return wrappedShown_ ? wrapped_ : unwrapped_;
}

void EditorPanes::applyLook(const store::TextLook& look) {
    ui::applyTextLook(*unwrapped_, look);
    ui::applyTextLook(*wrapped_, look);
}

void EditorPanes::setGeometry(const QRect& place) {
    unwrapped_->setGeometry(place);
    wrapped_->setGeometry(place);
}

void EditorPanes::showPane(bool wrapped) {
    wrappedShown_ = wrapped;
    wrapped_->setVisible(wrapped);
    unwrapped_->setVisible(!wrapped);
}

void EditorPanes::load(const QString& text, bool wrapped) {
    {
        const QScopedValueRollback guard(copying_, true);
        unwrapped_->setPlainText(text);
        if (wrapped) {
            wrapped_->setPlainText(text);
        }
    }
    unwrappedCurrent_ = true;
    wrappedCurrent_ = wrapped;
    showPane(wrapped);
    setModified(false);
    emit textChanged();
}

void EditorPanes::copyText(QPlainTextEdit* from, QPlainTextEdit* to) {
    const int position = from->textCursor().position();
    {
        const QScopedValueRollback guard(copying_, true);
        to->setPlainText(from->document()->toRawText());
    }
    // The copy is as far from the saved text as its original; it has no undo steps of its own.
    to->document()->setModified(from->document()->isModified());
    QTextCursor caret = to->textCursor();
    caret.setPosition(std::min(position, to->document()->characterCount() - 1));
    to->setTextCursor(caret);
    unwrappedCurrent_ = true;
    wrappedCurrent_ = true;
    tellModified();
}

void EditorPanes::toggleWrap() {
    QPlainTextEdit* from = shown();
    const bool current = wrappedShown_ ? unwrappedCurrent_ : wrappedCurrent_;
    showPane(!wrappedShown_);
    if (current) {
        shown()->document()->setModified(from->document()->isModified());
        tellModified();
    } else {
        copyText(from, shown());
    }
}

void EditorPanes::prepareHandOver() {
    if (wrappedShown_ && !unwrappedCurrent_) {
        copyText(wrapped_, unwrapped_);
    }
    focusShown();
}

std::string EditorPanes::unwrappedText() const {
    return ui::boxText(*unwrapped_);
}

void EditorPanes::expandTabs() {
    QPlainTextEdit* pane = shown();
    QTextDocument* document = pane->document();
    QTextCursor found = document->find(QStringLiteral("\t"));
    if (found.isNull()) {
        return;
    }
    QTextCursor edit(document);
    edit.beginEditBlock();
    while (!found.isNull()) {
        found.insertText(QStringLiteral("    "));
        found = document->find(QStringLiteral("\t"), found);
    }
    edit.endEditBlock();
    prepareHandOver();
}

void EditorPanes::changeFontSize(int points) {
    QFont font = unwrapped_->font();
    const qreal size = font.pointSizeF() + points;
    if (size < 1) {
        return;
    }
    font.setPointSizeF(size);
    unwrapped_->setFont(font);
}

void EditorPanes::restyle(const std::function<void()>& restyle) {
    const QScopedValueRollback guard(copying_, true);
    restyle();
}

void EditorPanes::placeCaret(int position) {
    for (QPlainTextEdit* pane : {unwrapped_, wrapped_}) {
        QTextCursor caret(pane->document());
        caret.setPosition(std::clamp(position, 0, pane->document()->characterCount() - 1));
        pane->setTextCursor(caret);
        pane->ensureCursorVisible();
    }
}

void EditorPanes::focusShown() {
    shown()->setFocus(Qt::OtherFocusReason);
}

QPlainTextEdit* EditorPanes::paneWithFocus() const {
    for (QPlainTextEdit* pane : {unwrapped_, wrapped_}) {
        if (pane->hasFocus()) {
            return pane;
        }
    }
    return nullptr;
}

void EditorPanes::setMarks(QPlainTextEdit* pane, Marks kind,
                           QList<QTextEdit::ExtraSelection> marks) {
    auto& kinds = marks_[pane == wrapped_ ? 1 : 0];
    kinds[static_cast<std::size_t>(kind)] = std::move(marks);
    showMarks(pane);
}

void EditorPanes::showMarks(QPlainTextEdit* pane) {
    const QTextDocument* document = pane->document();
    QList<QTextEdit::ExtraSelection> shown;
    for (const auto& marks : marks_[pane == wrapped_ ? 1 : 0]) {
        for (const QTextEdit::ExtraSelection& mark : marks) {
            const QTextBlock block = document->findBlock(mark.cursor.selectionStart());
            const auto [from, to] = partInSight(block);
            const int start = mark.cursor.selectionStart() - block.position();
            const int end = mark.cursor.selectionEnd() - block.position();
            if (start <= to && end >= from) {
                shown.append(mark);
            }
        }
    }
    pane->setExtraSelections(shown);
}

QString EditorPanes::selectedText() const {
    QString text = shown()->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void EditorPanes::replaceSelection(const QString& text) {
    QPlainTextEdit* pane = shown();
    QTextCursor cursor = pane->textCursor();
    cursor.insertText(text);
    pane->setTextCursor(cursor);
}

bool EditorPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (QPlainTextEdit* pane : {unwrapped_, wrapped_}) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (watched == pane->viewport() && mouse->button() == Qt::RightButton) {
                emit contextMenuWanted(pane, mouse->globalPosition().toPoint());
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex::editor
