#include "editor/brace_match.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include "editor/editor_panes.h"

namespace korvex::editor {
namespace {

std::optional<int> partnerOf(QStringView line, int at) {
    const bool opening = line[at] == u'{';
    const int step = opening ? 1 : -1;
    int depth = 0;
    for (int i = at; i >= 0 && i < line.size(); i += step) {
        if (line[i] == u'{' || line[i] == u'}') {
            depth += (line[i] == u'{') == opening ? 1 : -1;
            if (depth == 0) {
                return i;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::pair<int, int>> matchingBraces(QStringView line, int caret) {
    for (const int at : {caret, caret - 1}) {
        if (at >= 0 && at < line.size() && (line[at] == u'{' || line[at] == u'}')) {
            if (const std::optional<int> partner = partnerOf(line, at)) {
                return std::pair(at, *partner);
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

BraceMarks::BraceMarks(EditorPanes& panes, QObject* parent)
    : QObject(parent), panes_(panes), delay_(new QTimer(this)) {
    delay_->setSingleShot(true);
    delay_->setInterval(0);
    connect(delay_, &QTimer::timeout, this, &BraceMarks::update);
    for (QPlainTextEdit* pane : {panes_.unwrapped(), panes_.wrapped()}) {
        connect(pane, &QPlainTextEdit::cursorPositionChanged, delay_, qOverload<>(&QTimer::start));
    }
}

void BraceMarks::update() {
    for (QPlainTextEdit* pane : {panes_.unwrapped(), panes_.wrapped()}) {
        QList<QTextEdit::ExtraSelection> marks;
        const QTextCursor caret = pane->textCursor();
        const QTextBlock block = caret.block();
        if (pane == panes_.shown() && !caret.hasSelection()) {
            if (const auto braces = matchingBraces(block.text(), caret.positionInBlock())) {
                for (const int at : {braces->first, braces->second}) {
                    QTextEdit::ExtraSelection mark{QTextCursor(block), {}};
                    mark.cursor.setPosition(block.position() + at);
                    mark.cursor.setPosition(block.position() + at + 1, QTextCursor::KeepAnchor);
                    mark.format.setBackground(
                        pane->palette().color(QPalette::Highlight).lighter(160));
                    mark.format.setFontUnderline(true);
                    marks << mark;
                }
            }
        }
        panes_.setMarks(pane, EditorPanes::Marks::Braces, marks);
    }
}

}  // namespace korvex::editor
