#pragma once
#include <QColor>
#include <QIcon>
#include <QToolButton>

class QPainter;
class QRectF;

namespace korvex::ui {

/// The pictures of the generated-text window's toolbar buttons.
enum class ToolbarIcon { ExportText, CopyAll, Statistics, Generate };

/// The desktop theme's icon for `which` where the theme has one, otherwise a simple drawn
/// picture, sharp up to twice the normal size.
QIcon toolbarIcon(ToolbarIcon which);

// What every window's toolbar pictures share, so they look alike: a design square of
// kIconDesignSize units, scaled to each size, and three colours.
inline constexpr int kIconDesignSize = 64;
inline constexpr QColor kIconInk(40, 60, 110);
inline constexpr QColor kIconPaper(250, 250, 245);
inline constexpr QColor kIconAccent(40, 140, 70);

/// Draws one picture on the design square.
using IconDrawing = void (*)(QPainter&);

/// The desktop theme's icon `themeName` where the theme has one, otherwise the picture `draw`
/// makes, sharp up to twice the normal size.
QIcon themedIcon(const char* themeName, IconDrawing draw);

/// A sheet with lines of text filling `page`, the ground of the pictures about text.
void drawTextPage(QPainter& p, const QRectF& page);

/// A picture button that shows its text, when it has one, written over its picture rather
/// than beside it, so a short note ("[OK]") fits the button without moving anything.
class CaptionButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvex::ui
