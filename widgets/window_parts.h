#pragma once
// Small pieces every window of the main program builds the same way.

#include <QAction>
#include <QColor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>
#include <QTimer>
#include <algorithm>

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

/// A label named `name` that shows `text` as it is (no rich text, whatever it holds).
inline QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
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

/// Moves `frame` to `position`, kept inside the visible part of its area so its title bar and
/// close box can be reached; a window larger than the area is made to fit it.
inline void placeInsideArea(QMdiSubWindow& frame, QPoint position) {
    const QMdiArea* area = frame.mdiArea();
    if (area == nullptr) {
        frame.move(position);
        return;
    }
    const QSize room = area->viewport()->size();
    const QSize size = frame.size().boundedTo(room);
    if (size != frame.size()) {
        frame.resize(size);
    }
    frame.move(std::clamp(position.x(), 0, room.width() - size.width()),
               std::clamp(position.y(), 0, room.height() - size.height()));
}

/// Closes `window`, or the sub-window holding it inside the main window.
inline void closeChildWindow(QWidget* window) {
    outerWindow(window)->close();
}

/// Enter or Return without modifiers (the keypad's own flag aside): a window's default button.
inline bool isPlainEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

/// What a screen reader calls a picture button: its tooltip without the key hint at its end
/// ("Add New Project (or press F2)" is "Add New Project").
inline QString accessibleNameOf(const QString& toolTip) {
    const qsizetype hint = toolTip.lastIndexOf(QStringLiteral(" (or "), -1, Qt::CaseInsensitive);
    return hint > 0 && toolTip.endsWith(QLatin1Char(')')) ? toolTip.left(hint) : toolTip;
}

/// Why `typed` made no project: cleaning removed every character of it.
inline QString onlyForbiddenText(const QString& typed) {
    return QStringLiteral(
               "\"%1\" cannot be a project name: it holds only characters a name "
               "may not have (< > : \\ / | * ? \").")
        .arg(typed);
}

/// The warning when the desktop could not show `folder`, with the likely reason.
inline QString folderNotShownText(const QString& folder) {
    return QFileInfo(folder).isDir()
               ? QStringLiteral(
                     "Could not open the folder \"%1\": this desktop has no file "
                     "browser set up to show it.")
                     .arg(folder)
               : QStringLiteral("Could not open the folder \"%1\": it does not exist.").arg(folder);
}

/// The warning when the desktop could not open `pathOrAddress` (a file or a web address),
/// with the likely reason.
inline QString documentNotOpenedText(const QString& pathOrAddress) {
    const QString start = QStringLiteral("Could not open \"%1\": ").arg(pathOrAddress);
    if (pathOrAddress.contains(QStringLiteral("://"))) {
        return start + QStringLiteral("this desktop has no web browser set up to open it.");
    }
    if (!QFileInfo::exists(pathOrAddress)) {
        return start + QStringLiteral("the file does not exist.");
    }
    return start + QStringLiteral("this desktop has no program set up to open this kind of file.");
}

/// The warning when a file was saved but the desktop could not show the folder holding it.
inline QString savedButFolderNotShownText(const QString& file, const QString& folder) {
    return QStringLiteral("\"%1\" was saved, but the folder \"%2\" could not be opened.")
        .arg(file, folder);
}

/// A colour number of the settings file as a QColor.
inline QColor toColor(store::ColourNumber colour) {
    return QColor(store::redOf(colour), store::greenOf(colour), store::blueOf(colour));
}

}  // namespace korvex::ui
