#include "shell/window_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

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
