#pragma once
#include <QObject>
#include <array>

class QPlainTextEdit;
class QTextBlock;
class QTimer;

namespace korvex::editor {

class EditorPanes;
class ScriptHighlighter;

/// Keeps the coloured part of each long line over what the shown pane shows of it: a moment
/// after the pane scrolls, is resized or its caret moves (never on the key itself), a long
/// line whose shown part nears the edge of its colours is coloured afresh around it.
class VisibleColouring : public QObject {
    Q_OBJECT
public:
    /// Colour this far on each side of what is shown, so scrolling a little restyles nothing.
    static constexpr int kMargin = 600;
    static constexpr int kDelayMs = 30;

    /// `highlighters` colour `Text1` and `Text2`, in that order.
    VisibleColouring(EditorPanes& panes, std::array<ScriptHighlighter*, 2> highlighters,
                     QObject* parent);

    /// Follows the shown pane at once (the delay's own work).
    void follow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QPlainTextEdit* pane);
    void followLongLine(QPlainTextEdit* pane, const QTextBlock& block);

    EditorPanes& panes_;
    std::array<ScriptHighlighter*, 2> highlighters_;
    QTimer* delay_;
};

}  // namespace korvex::editor
