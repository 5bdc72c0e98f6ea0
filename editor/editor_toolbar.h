#pragma once
#include <QWidget>

class QToolButton;

namespace korvex::editor {

/// The editor's toolbar strip: font smaller and larger, word wrap, save and
/// generate from the left edge, and the group (import, runtime, external editor),
/// which keeps to the right edge. Picture buttons with tooltips; they never take the focus.
class EditorToolBar : public QWidget {
    Q_OBJECT
public:
    enum class Button {
        FontSmaller,
        FontLarger,
        WordWrap,
        Save,
        Generate,
        Import,
        Runtime,
        ExternalEditor,
    };

    explicit EditorToolBar(QWidget* parent);

    QToolButton* button(Button which) const;
    /// "[OK]" on the save button while the save feedback lasts.
    void showSaved(bool saved);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* group_;
    QToolButton* buttons_[8];
};

}  // namespace korvex::editor
