#include "widgets/toolbar_strip.h"

#include <QIcon>
#include <QToolButton>
#include <algorithm>

#include "platform/twips.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::twips;

void setUpToolbarButton(QToolButton& button, const char* name, const QIcon& icon,
                        const char* toolTip, int leftTwips, int widthTwips) {
    // The pictures leave a margin inside the buttons.
    constexpr int kIconSizeTwips = 420;
    button.setObjectName(QString::fromLatin1(name));
    button.setIcon(icon);
    button.setIconSize(QSize(twips(kIconSizeTwips), twips(kIconSizeTwips)));
    button.setToolTip(QString::fromLatin1(toolTip));
    button.setAccessibleName(accessibleNameOf(button.toolTip()));
    button.setAutoRaise(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setGeometry(twips(leftTwips), 0, twips(widthTwips), twips(kToolButtonTwips));
}

QRect placeToolBarStrip(const QWidget& window, QWidget& strip) {
    const int stripHeight = twips(kToolBarHeightTwips);
    strip.setGeometry(0, 0, window.width(), stripHeight);
    return {twips(kTextLeftTwips), stripHeight + twips(kTextGapTwips), window.width(),
            std::max(0, window.height() - stripHeight - twips(kTextBottomTwips))};
}

void layOutStripOverText(const QWidget& window, QWidget& strip, QWidget& text) {
    text.setGeometry(placeToolBarStrip(window, strip));
}

}  // namespace korvex::ui
