#include "editor/visible_colouring.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>

#include "editor/editor_panes.h"
#include "editor/script_highlighter.h"

namespace korvex::editor {
namespace {

// How close to the edge of its colours the shown part of a line may come.
constexpr int kSlack = VisibleColouring::kMargin / 3;

struct Range {
    int from;
    int to;
};

// The characters of `block` (from its start) that lie inside `pane`'s viewport; the block's
// layout is current, since the pane shows it.
Range shownPart(QPlainTextEdit* pane, const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return {0, 0};
    }
    // The block's origin in viewport coordinates, from where the pane draws its first caret.
    const QTextLine first = layout->lineAt(0);
    const QRect caret = pane->cursorRect(QTextCursor(block));
    const QPointF origin(caret.left() - first.cursorToX(0), caret.top() - first.y());
    const QRectF shown = QRectF(pane->viewport()->rect()).translated(-origin);
    Range part{block.length(), 0};
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (line.y() + line.height() < shown.top() || line.y() > shown.bottom()) {
            continue;
        }
        part.from = std::min(part.from, line.xToCursor(shown.left()));
        part.to = std::max(part.to, line.xToCursor(shown.right()));
    }
    return part;
}

}  // namespace

VisibleColouring::VisibleColouring(EditorPanes& panes,
                                   std::array<ScriptHighlighter*, 2> highlighters, QObject* parent)
    : QObject(parent), panes_(panes), highlighters_(highlighters), delay_(new QTimer(this)) {
    delay_->setSingleShot(true);
    delay_->setInterval(kDelayMs);
    connect(delay_, &QTimer::timeout, this, &VisibleColouring::follow);
    watch(panes_.unwrapped());
    watch(panes_.wrapped());
}

void VisibleColouring::watch(QPlainTextEdit* pane) {
    const auto later = [this] { delay_->start(); };
    connect(pane->verticalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(pane->horizontalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(pane, &QPlainTextEdit::cursorPositionChanged, this, later);
    pane->viewport()->installEventFilter(this);
}

bool VisibleColouring::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        delay_->start();
    }
    return QObject::eventFilter(watched, event);
}

void VisibleColouring::follow() {
    QPlainTextEdit* pane = panes_.shown();
    if (!pane->isVisible()) {
        return;
    }
    const QRect view = pane->viewport()->rect();
    QTextBlock block = pane->cursorForPosition(view.topLeft()).block();
    const QTextBlock last = pane->cursorForPosition(view.bottomRight()).block();
    for (; block.isValid(); block = block.next()) {
        if (block.length() - 1 > ScriptHighlighter::kLongLine) {
            followLongLine(pane, block);
        }
        if (block == last) {
            break;
        }
    }
}

void VisibleColouring::followLongLine(QPlainTextEdit* pane, const QTextBlock& block) {
    // Qt lets a line's shaped glyphs go after every paint, and the caret's next blink shapes
    // the whole line again: a long line in sight keeps them.
    block.layout()->setCacheEnabled(true);
    ScriptHighlighter* highlighter = highlighters_[pane == panes_.wrapped() ? 1 : 0];
    if (!highlighter->isOn()) {
        return;
    }
    const Range shown = shownPart(pane, block);
    const auto [from, to] = highlighter->colouredPart(block);
    const int length = block.length() - 1;
    const bool nearStart = from > 0 && shown.from - kSlack < from;
    const bool nearEnd = to < length && shown.to + kSlack > to;
    if (shown.from <= shown.to && (nearStart || nearEnd)) {
        panes_.restyle(
            [&] { highlighter->colourPart(block, shown.from - kMargin, shown.to + kMargin); });
    }
}

}  // namespace korvex::editor
