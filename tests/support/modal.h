#pragma once
// Drives a real modal box from a test: the action runs inside the box's own event loop, once
// the box is the active modal widget.

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>

namespace korvex::testing {

/// Calls `act` with the next modal widget of type Box that appears within five seconds.
/// `act` must close the box. Call it before the code that shows the box.
template <typename Box>
void whenModal(std::function<void(Box*)> act) {
    auto* poll = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, act = std::move(act)] {
        if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(box);
        } else if (deadline.hasExpired()) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

}  // namespace korvex::testing
