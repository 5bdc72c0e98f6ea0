#pragma once
#include <QObject>
#include <QStringView>
#include <optional>
#include <utility>

class QTimer;

namespace korvex::editor {

class EditorPanes;

/// The brace beside `caret` in `line` (the one after it first, then the one before it) and
/// the brace that pairs with it, as places in the line; none when neither touches a brace or
/// the brace has no partner. A block never reaches past its line, so the search stays in it.
std::optional<std::pair<int, int>> matchingBraces(QStringView line, int caret);

/// Marks the brace at the caret of the shown pane and its partner, a moment after the caret
/// moves, so a key never waits for the search along a long line.
class BraceMarks : public QObject {
    Q_OBJECT
public:
    BraceMarks(EditorPanes& panes, QObject* parent);

    /// Marks the braces at once (the delay's own work).
    void update();

private:
    EditorPanes& panes_;
    QTimer* delay_;
};

}  // namespace korvex::editor
