#pragma once
// A window opened from another gives the activation back to it when it closes, so the next key
// goes where the user came from (and not to whichever window the area picks).

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

namespace korvex::ui {

/// When `child` (a sub-window, or a window standing alone) is destroyed, `opener` becomes the
/// active window again, if it is still there.
inline void activateOpenerOnClose(QWidget* child, QWidget* opener) {
    if (child == nullptr || opener == nullptr) {
        return;
    }
    QObject::connect(child, &QObject::destroyed, opener, [guarded = QPointer<QWidget>(opener)] {
        // After the area has made its own choice.
        QTimer::singleShot(0, guarded, [guarded] {
            if (!guarded) {
                return;
            }
            auto* frame = qobject_cast<QMdiSubWindow*>(guarded.data());
            if (frame != nullptr && frame->mdiArea() != nullptr) {
                frame->mdiArea()->setActiveSubWindow(frame);
            } else {
                guarded->activateWindow();
            }
        });
    });
}

}  // namespace korvex::ui
