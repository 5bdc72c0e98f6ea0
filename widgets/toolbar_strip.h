#pragma once
// The toolbar strip across the top of a window, its picture buttons, and the text box that
// fills the window under it: the generated-text window, the import window, the editor and the
// Projects Manager are all built this way.

#include <QRect>

class QIcon;
class QToolButton;
class QWidget;

namespace korvex::ui {

/// The strip's height.
inline constexpr int kToolBarHeightTwips = 675;
/// A picture button's height, and its width unless it is a wide one.
inline constexpr int kToolButtonTwips = 615;
/// From one button's left edge to the next one's: the buttons overlap a little.
inline constexpr int kToolButtonStepTwips = 600;
/// The text under the strip starts this far from the window's left edge ...
inline constexpr int kTextLeftTwips = 15;
/// ... this far below the strip ...
inline constexpr int kTextGapTwips = 5;
/// ... and ends this far above the window's bottom edge (less the gap).
inline constexpr int kTextBottomTwips = 60;

/// Makes `button` a picture button of a window's toolbar strip, named `name`, `leftTwips`
/// from the strip's left edge and `widthTwips` wide: flat until pointed at, and never taking
/// the focus from the window's text.
void setUpToolbarButton(QToolButton& button, const char* name, const QIcon& icon,
                        const char* toolTip, int leftTwips, int widthTwips = kToolButtonTwips);

/// Places `strip` across the top of `window` and returns the area under it that the window's
/// text takes (never of a negative height).
QRect placeToolBarStrip(const QWidget& window, QWidget& strip);

/// `strip` across the top of `window` and `text` filling the window under it.
void layOutStripOverText(const QWidget& window, QWidget& strip, QWidget& text);

}  // namespace korvex::ui
