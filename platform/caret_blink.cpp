#include "platform/caret_blink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

namespace korvex::platform {

CaretBlinkTimeout::CaretBlinkTimeout(std::chrono::milliseconds timeout) : timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setInterval(timeout);
    connect(timer_, &QTimer::timeout, this, &CaretBlinkTimeout::stop);
    QCoreApplication::instance()->installEventFilter(this);
    timer_->start();
}

CaretBlinkTimeout::~CaretBlinkTimeout() {
    wake();
}

bool CaretBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
            wake();
            timer_->start();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlinkTimeout::stop() {
    QStyleHints* hints = QGuiApplication::styleHints();
    // Qt shows a caret whose blinking stops, and stops it at once.
    if (!stopped_ && hints->cursorFlashTime() > 0) {
        flashTime_ = hints->cursorFlashTime();
        hints->setCursorFlashTime(0);
        stopped_ = true;
    }
}

void CaretBlinkTimeout::wake() {
    if (stopped_) {
        stopped_ = false;
        QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
    }
}

}  // namespace korvex::platform
