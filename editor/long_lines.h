#pragma once
#include <QObject>
#include <array>
#include <utility>

class QPlainTextEdit;
class QTextBlock;
class QTimer;

namespace korvex::editor {

class EditorPanes;
class ScriptHighlighter;

/// Lines longer than this (in UTF-16 units) are coloured and underlined only in their part in
/// sight: formats or underlines over the whole of a megabyte line (an article pasted whole) make
/// every key and every repaint of it take seconds.
inline constexpr int kLongLine = 4000;

/// The part of `block` that carries colours and underlines, [first, second): all of a short
/// line; of a long one, what the pane last showed of it and a margin around, or its start while
/// nobody has scrolled along it.
std::pair<int, int> partInSight(const QTextBlock& block);

/// Keeps the part in sight of each long line over what the shown pane shows of it: a moment
/// after the pane scrolls, is resized or its caret moves (never on the key itself), a long line
/// whose shown part nears the edge of its part in sight gets a new one around what is shown,
/// coloured afresh and with the underlines that fall in it.
class LongLineSight : public QObject {
    Q_OBJECT
public:
    /// Take this much on each side of what is shown, so scrolling a little changes nothing.
    static constexpr int kMargin = 600;
    static constexpr int kDelayMs = 30;

    /// `highlighters` colour `Text1` and `Text2`, in that order.
    LongLineSight(EditorPanes& panes, std::array<ScriptHighlighter*, 2> highlighters,
                  QObject* parent);

    /// Follows the shown pane at once (the delay's own work).
    void follow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QPlainTextEdit* pane);
    /// Whether `block`'s part in sight moved.
    bool followLongLine(QPlainTextEdit* pane, const QTextBlock& block);

    EditorPanes& panes_;
    std::array<ScriptHighlighter*, 2> highlighters_;
    QTimer* delay_;
};

}  // namespace korvex::editor
