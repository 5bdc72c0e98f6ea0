#pragma once
// Arranging and closing the child windows of the main window's multi-document area.

#include <QList>
#include <QRect>
#include <Qt>

class QMdiArea;

namespace korvex::ui {

/// `count` rectangles sharing `area`: one above the other, each the full width, for
/// Qt::Vertical stacking ("Horizontal" tiling); side by side, each the full height, for
/// Qt::Horizontal ("Vertical" tiling). Extra pixels go to the first windows, so together
/// they cover the area exactly.
QList<QRect> tiles(const QRect& area, int count, Qt::Orientation stacking);

/// Tiles the area's visible, not minimised sub-windows in their stacking order.
void tile(QMdiArea& area, Qt::Orientation stacking);

/// Places for a cascade of windows of `sizes` in `area`, each `step` further right and down
/// than the one before. A window keeps its size when it is usable (at least a quarter of the
/// area each way) and fits; otherwise it takes two thirds of the area. A cascade that would
/// leave the area starts again at its top-left corner.
QList<QRect> cascadePlaces(const QRect& area, const QList<QSize>& sizes, int step);

/// Cascades the area's visible, not minimised sub-windows in their stacking order, each
/// keeping a usable size (Qt's own cascade shrinks windows without a layout to a title bar).
void cascade(QMdiArea& area);

/// Closes the sub-windows one by one, the active one first, each through its own closing
/// step. Returns false as soon as one refuses (its user chose to keep it), leaving that one
/// open and active and the others untouched.
bool closeSubWindows(QMdiArea& area);

}  // namespace korvex::ui
