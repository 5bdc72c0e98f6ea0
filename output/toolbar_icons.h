#pragma once
#include <QColor>
#include <QIcon>
#include <QToolButton>
#include <functional>

class QPainter;
class QRectF;

namespace korvex::ui {

/// The pictures of the generated-text window's toolbar buttons.
enum class ToolbarIcon { ExportText, CopyAll, Statistics, Generate };

/// The desktop theme's icon for `which` where the theme has one, otherwise a simple drawn
/// picture, sharp up to twice the normal size.
QIcon toolbarIcon(ToolbarIcon which);

/// The theme's icon `themeName`, or else the picture `draw` paints on a 64-unit square.
QIcon themedIcon(const QString& themeName, const std::function<void(QPainter&)>& draw);

/// The pictures' ink, paper and accent colours, and a page of text lines on `page`.
inline const QColor kIconInk(40, 60, 110);
inline const QColor kIconPaper(250, 250, 245);
inline const QColor kIconAccent(40, 140, 70);
void drawPage(QPainter& p, const QRectF& page);

/// A picture button that shows its text, when it has one, written over its picture rather
/// than beside it, so a short note ("[OK]") fits the button without moving anything.
class CaptionButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvex::ui
