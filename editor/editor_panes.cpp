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
#include "widgets/text_box.h"
#include "widgets/text_look.h"

namespace korvex::editor {
namespace {

QPlainTextEdit* createPane(QWidget* window, const QString& name, bool wrapping) {
    auto* pane = new QPlainTextEdit(window);
    pane->setObjectName(name);
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
            modified_ = true;
            if (!copying_) {
                (isWrapped ? unwrappedCurrent_ : wrappedCurrent_) = false;
            }
        });
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
    modified_ = false;
}

void EditorPanes::copyText(QPlainTextEdit* from, QPlainTextEdit* to) {
    const int position = from->textCursor().position();
    {
        const QScopedValueRollback guard(copying_, true);
        to->setPlainText(from->document()->toRawText());
    }
    QTextCursor caret = to->textCursor();
    caret.setPosition(std::min(position, to->document()->characterCount() - 1));
    to->setTextCursor(caret);
    unwrappedCurrent_ = true;
    wrappedCurrent_ = true;
}

void EditorPanes::toggleWrap() {
    if (wrappedShown_) {
        showPane(false);
        if (!unwrappedCurrent_) {
            copyText(wrapped_, unwrapped_);
        }
    } else {
        showPane(true);
        if (!wrappedCurrent_) {
            copyText(unwrapped_, wrapped_);
        }
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
    const bool modified = modified_;
    {
        const QScopedValueRollback guard(copying_, true);
        restyle();
    }
    modified_ = modified;
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
