#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace korvex::platform {

namespace {

constexpr qreal kFallbackDotsPerInch = 96.0;

}  // namespace

int twips(int twips, qreal dotsPerInch) {
    return qRound(twips * dotsPerInch / kTwipsPerInch);
}

int twips(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchX() : kFallbackDotsPerInch;
    return korvex::platform::twips(twips, dpi > 0 ? dpi : kFallbackDotsPerInch);
}

}  // namespace korvex::platform
