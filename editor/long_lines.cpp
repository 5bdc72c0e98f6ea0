#include "editor/long_lines.h"

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

// How close to the edge of its part in sight the shown part of a line may come.
constexpr int kSlack = LongLineSight::kMargin / 3;

// A long line nobody has scrolled along yet is in sight from its start this far.
constexpr int kFirstPart = kLongLine / 2;

// The part in sight of a long line, kept with the line.
struct PartInSight : QTextBlockUserData {
    PartInSight(int from, int to) : from(from), to(to) {}
    int from;
    int to;
};

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

std::pair<int, int> partInSight(const QTextBlock& block) {
    const int length = block.length() - 1;
    if (length <= kLongLine) {
        return {0, length};
    }
    if (const auto* part = dynamic_cast<const PartInSight*>(block.userData())) {
        return {std::min(part->from, length), std::min(part->to, length)};
    }
    return {0, std::min(kFirstPart, length)};
}

LongLineSight::LongLineSight(EditorPanes& panes, std::array<ScriptHighlighter*, 2> highlighters,
                             QObject* parent)
    : QObject(parent), panes_(panes), highlighters_(highlighters), delay_(new QTimer(this)) {
    delay_->setSingleShot(true);
    delay_->setInterval(kDelayMs);
    connect(delay_, &QTimer::timeout, this, &LongLineSight::follow);
    watch(panes_.unwrapped());
    watch(panes_.wrapped());
}

void LongLineSight::watch(QPlainTextEdit* pane) {
    const auto later = [this] { delay_->start(); };
    connect(pane->verticalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(pane->horizontalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(pane, &QPlainTextEdit::cursorPositionChanged, this, later);
    pane->viewport()->installEventFilter(this);
}

bool LongLineSight::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        delay_->start();
    }
    return QObject::eventFilter(watched, event);
}

void LongLineSight::follow() {
    QPlainTextEdit* pane = panes_.shown();
    if (!pane->isVisible()) {
        return;
    }
    const QRect view = pane->viewport()->rect();
    QTextBlock block = pane->cursorForPosition(view.topLeft()).block();
    const QTextBlock last = pane->cursorForPosition(view.bottomRight()).block();
    bool moved = false;
    for (; block.isValid(); block = block.next()) {
        if (block.length() - 1 > kLongLine) {
            moved = followLongLine(pane, block) || moved;
        }
        if (block == last) {
            break;
        }
    }
    if (moved) {
        panes_.showMarks(pane);
    }
}

bool LongLineSight::followLongLine(QPlainTextEdit* pane, const QTextBlock& block) {
    // Qt lets a line's shaped glyphs go after every paint, and the caret's next blink shapes
    // the whole line again: a long line in sight keeps them.
    block.layout()->setCacheEnabled(true);
    const Range shown = shownPart(pane, block);
    const auto [from, to] = partInSight(block);
    const int length = block.length() - 1;
    const bool nearStart = from > 0 && shown.from - kSlack < from;
    const bool nearEnd = to < length && shown.to + kSlack > to;
    if (shown.from > shown.to || !(nearStart || nearEnd)) {
        return false;
    }
    QTextBlock line = block;
    line.setUserData(
        new PartInSight(std::max(0, shown.from - kMargin), std::max(0, shown.to + kMargin)));
    ScriptHighlighter* highlighter = highlighters_[pane == panes_.wrapped() ? 1 : 0];
    if (highlighter->isOn()) {
        panes_.restyle([&] { highlighter->rehighlightBlock(block); });
    }
    return true;
}

}  // namespace korvex::editor
