#include "widgets/contrast.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace korvex::ui {

namespace {

double luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

}  // namespace

QColor mixed(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return {mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())};
}

bool isDark(const QColor& background) {
    return contrastRatio(Qt::white, background) > contrastRatio(Qt::black, background);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& colour, const QColor& background) {
    // Whichever of black and white reads better on the background is where the text goes.
    const QColor away = isDark(background) ? Qt::white : Qt::black;
    QColor result = colour;
    // Ten steps of a fifth each end at `away` itself, which always reads.
    for (int step = 0; step < 10 && contrastRatio(result, background) < kMinTextContrast; ++step) {
        result = mixed(result, away, 0.2);
    }
    return contrastRatio(result, background) < kMinTextContrast ? away : result;
}

void paintAsLink(QWidget& label) {
    QPalette palette = label.palette();
    const QColor background = palette.color(QPalette::Window);
    palette.setColor(QPalette::WindowText, readableOn(palette.color(QPalette::Link), background));
    label.setPalette(palette);
}

}  // namespace korvex::ui
