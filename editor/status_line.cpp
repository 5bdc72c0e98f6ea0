#include "editor/status_line.h"

#include <QPlainTextEdit>

#include "editor/editor_panes.h"

namespace korvex::editor {

StatusLine::StatusLine(EditorPanes& panes, QWidget* window) : QLabel(window), panes_(panes) {
    setObjectName(QStringLiteral("StatusLine"));
    setAccessibleName(QStringLiteral("Caret position"));
    setContentsMargins(6, 1, 6, 1);
    setTextFormat(Qt::PlainText);
    for (QPlainTextEdit* pane : {panes_.unwrapped(), panes_.wrapped()}) {
        connect(pane, &QPlainTextEdit::cursorPositionChanged, this, &StatusLine::update);
    }
    connect(&panes_, &EditorPanes::modifiedChanged, this, &StatusLine::update);
    update();
}

void StatusLine::update() {
    const QTextCursor caret = panes_.shown()->textCursor();
    // Said on every key: nothing here reads the line, which may be a megabyte long.
    setText(QStringLiteral("Line %1, Column %2%3")
                .arg(caret.blockNumber() + 1)
                .arg(caret.positionInBlock() + 1)
                .arg(panes_.modified() ? QStringLiteral("    Modified") : QString()));
}

}  // namespace korvex::editor
