#pragma once
// Small pieces every window of the main program builds the same way.

#include <QAction>
#include <QColor>
#include <QKeySequence>
#include <QLabel>
#include <QMdiSubWindow>
#include <QString>
#include <QTimer>

#include "store/settings.h"

namespace korvex::ui {

/// A one-shot timer named `name`: it fires once per start.
inline QTimer* oneShotTimer(QObject* parent, const QString& name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setSingleShot(true);
    timer->setInterval(intervalMs);
    return timer;
}

/// An action named `name` with `caption` and `shortcut`, owned by `parent`.
inline QAction* namedAction(QObject* parent, const QString& name, const QString& caption,
                            const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

/// A hidden label named `name` that carries a value ("0" at first) from one step to another.
inline QLabel* hiddenField(QWidget* parent, const QString& name) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

/// The multi-document sub-window that holds `window` inside the main window, or `window`
/// itself where it stands alone: what closes, and what the outer size is the size of.
inline QWidget* outerWindow(QWidget* window) {
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    return frame != nullptr ? static_cast<QWidget*>(frame) : window;
}

/// A colour number of the settings file as a QColor.
inline QColor toColor(store::ColourNumber colour) {
    return QColor(store::redOf(colour), store::greenOf(colour), store::blueOf(colour));
}

}  // namespace korvex::ui
