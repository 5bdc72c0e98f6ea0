#pragma once
// Text that reads on its background whatever the desktop's palette: the contrast ratio as the
// accessibility guidelines count it, and colours moved until they reach it.

#include <QColor>

class QWidget;

namespace korvex::ui {

/// The least contrast text and links keep to their background.
inline constexpr double kMinTextContrast = 4.5;

/// The contrast ratio of two colours, 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

/// Whether light text reads better than dark on `background`.
bool isDark(const QColor& background);

/// `share` of the way from `from` to `to` (0 is `from`, 1 is `to`).
QColor mixed(const QColor& from, const QColor& to, double share);

/// `colour` as it is when it reads on `background`, otherwise moved towards black on a light
/// background or white on a dark one until it does.
QColor readableOn(const QColor& colour, const QColor& background);

/// Makes `label` a link in the palette's link colour, readable on its window colour.
void paintAsLink(QWidget& label);

}  // namespace korvex::ui
