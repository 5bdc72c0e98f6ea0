#pragma once
#include <QIcon>
#include <QToolButton>

namespace korvex::ui {

/// The pictures of the generated-text window's toolbar buttons.
enum class ToolbarIcon { ExportText, CopyAll, Statistics, Generate };

/// The desktop theme's icon for `which` where the theme has one, otherwise a simple drawn
/// picture, sharp up to twice the normal size.
QIcon toolbarIcon(ToolbarIcon which);

/// A picture button that shows its text, when it has one, written over its picture rather
/// than beside it, so a short note ("[OK]") fits the button without moving anything.
class CaptionButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvex::ui
