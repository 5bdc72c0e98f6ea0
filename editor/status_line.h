#pragma once
#include <QLabel>

namespace korvex::editor {

class EditorPanes;

/// The line along the window's foot: where the caret of the shown pane stands ("Line 3,
/// Column 7"), counted from 1 in characters, and whether the script has unsaved changes.
class StatusLine : public QLabel {
    Q_OBJECT
public:
    StatusLine(EditorPanes& panes, QWidget* window);

    /// Says the caret's place and the modified state again.
    void update();

private:
    EditorPanes& panes_;
};

}  // namespace korvex::editor
