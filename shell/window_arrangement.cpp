#include "shell/window_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>

namespace korvex::ui {

namespace {

/// The sub-windows still open, in the area's stacking order.
QList<QMdiSubWindow*> openSubWindows(const QMdiArea& area) {
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::StackingOrder)) {
        if (window->isVisible() || window->isMinimized()) {
            open << window;
        }
    }
    return open;
}

}  // namespace

QList<QRect> tiles(const QRect& area, int count, Qt::Orientation stacking) {
    QList<QRect> result;
    if (count <= 0) {
        return result;
    }
    const bool stacked = stacking == Qt::Vertical;
    const int length = stacked ? area.height() : area.width();
    const int share = length / count;
    const int extra = length % count;
    int start = stacked ? area.top() : area.left();
    for (int i = 0; i < count; ++i) {
        const int size = share + (i < extra ? 1 : 0);
        result << (stacked ? QRect(area.left(), start, area.width(), size)
                           : QRect(start, area.top(), size, area.height()));
        start += size;
    }
    return result;
}

void tile(QMdiArea& area, Qt::Orientation stacking) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : openSubWindows(area)) {
        if (!window->isMinimized()) {
            if (window->isMaximized()) {
                window->showNormal();
            }
            windows << window;
        }
    }
    const QList<QRect> places = tiles(area.viewport()->rect(), windows.size(), stacking);
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(places[i]);
    }
}

QList<QRect> cascadePlaces(const QRect& area, const QList<QSize>& sizes, int step) {
    QList<QRect> places;
    const QSize fallback(area.width() * 2 / 3, area.height() * 2 / 3);
    QPoint corner = area.topLeft();
    for (const QSize& size : sizes) {
        const bool usable = size.width() >= area.width() / 4 &&
                            size.height() >= area.height() / 4 && size.width() <= area.width() &&
                            size.height() <= area.height();
        const QSize kept = usable ? size : fallback;
        if (corner.x() + kept.width() > area.right() + 1 ||
            corner.y() + kept.height() > area.bottom() + 1) {
            corner = area.topLeft();
        }
        places << QRect(corner, kept);
        corner += QPoint(step, step);
    }
    return places;
}

void cascade(QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    QList<QSize> sizes;
    for (QMdiSubWindow* window : openSubWindows(area)) {
        if (window->isMinimized()) {
            continue;
        }
        if (window->isMaximized()) {
            window->showNormal();
        }
        windows << window;
        sizes << window->size();
    }
    // Each window's title bar stays in sight under the next one.
    const int step = windows.isEmpty() ? 0
                                       : windows.first()->style()->pixelMetric(
                                             QStyle::PM_TitleBarHeight, nullptr, windows.first()) +
                                             4;
    const QList<QRect> places = cascadePlaces(area.viewport()->rect(), sizes, step);
    // Stacking order runs from the bottom, so the active window ends in front, last.
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(places[i]);
        windows[i]->raise();
    }
}

bool closeSubWindows(QMdiArea& area) {
    // Every pass closes one window or stops, so this ends even if a window reopens itself.
    for (qsizetype passes = openSubWindows(area).size(); passes > 0; --passes) {
        QList<QMdiSubWindow*> open = openSubWindows(area);
        if (open.isEmpty()) {
            break;
        }
        QPointer<QMdiSubWindow> next = area.currentSubWindow();
        if (next == nullptr || !open.contains(next.data())) {
            next = open.last();
        }
        if (!next->close()) {
            if (next != nullptr) {
                area.setActiveSubWindow(next);
            }
            return false;
        }
    }
    return openSubWindows(area).isEmpty();
}

}  // namespace korvex::ui
