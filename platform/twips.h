#pragma once
#include <QtGlobal>

namespace korvex::platform {

/// Window geometry is given in twips, 1440 to the inch.
inline constexpr int kTwipsPerInch = 1440;

/// Pixels for a length of `twips` at the primary screen's logical DPI, rounded to the nearest
/// pixel: 15 twips are one pixel at 96 DPI. Without a screen 96 DPI is assumed.
int twips(int twips);

/// Pixels for a length of `twips` at `dotsPerInch`.
int twips(int twips, qreal dotsPerInch);

}  // namespace korvex::platform
