#include "platform/key_preview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace korvex::platform {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
    // A filter on the window alone would see only the keys sent to the window itself, not
    // those of the control that has the focus; the application's filter sees them all first.
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyPreview::belongsToWindow(QObject* watched) const {
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    // isAncestorOf stops at window boundaries, so a message box over this window is not ours.
    return widget == window_ || window_->isAncestorOf(widget);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !belongsToWindow(watched)) {
        return false;
    }
    auto& key = static_cast<QKeyEvent&>(*event);
    if (handler_ && handler_(key)) {
        return true;
    }
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        auto* subWindow = qobject_cast<QMdiSubWindow*>(window_->parentWidget());
        QWidget* target = subWindow != nullptr ? subWindow : window_;
        target->close();
        return true;
    }
    return false;
}

KeyPreview* installKeyPreview(QWidget* window, KeyPreview::Handler handler) {
    return new KeyPreview(window, std::move(handler));
}

}  // namespace korvex::platform
