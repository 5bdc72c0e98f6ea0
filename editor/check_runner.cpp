#include "editor/check_runner.h"

#include <QMetaObject>

#include "output/text_box.h"

namespace korvex::editor {

CheckRunner::CheckRunner(CheckFunction checkScript, QObject* parent)
    : QObject(parent),
      check_(checkScript ? std::move(checkScript) : CheckFunction(&engine::check)),
      thread_([this] { run(); }) {}

CheckRunner::~CheckRunner() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

void CheckRunner::check(QString boxText, engine::CheckOptions options) {
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job{++lastTicket_, std::move(boxText), std::move(options)};
    }
    wake_.notify_all();
}

bool CheckRunner::isBusy() const {
    const std::lock_guard lock(mutex_);
    return running_ || pending_.has_value();
}

void CheckRunner::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_) {
            return;
        }
        Job job = std::move(*pending_);
        pending_.reset();
        running_ = true;
        lock.unlock();

        // The pane's text is shared with the copy taken here, never written by this thread.
        const std::string script = ui::fromBoxText(std::move(job.text));
        job.text.clear();
        std::vector<engine::Diagnostic> findings = check_(script, job.options);
        // Posted to this object's thread; dropped there if this object is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, ticket = job.ticket, findings = std::move(findings)] {
                deliver(ticket, findings);
            },
            Qt::QueuedConnection);

        lock.lock();
        running_ = false;
    }
}

void CheckRunner::deliver(quint64 ticket, const std::vector<engine::Diagnostic>& findings) {
    // A newer text was asked for meanwhile: these findings describe a text that is gone.
    if (ticket == lastTicket_) {
        emit checked(findings);
    }
}

}  // namespace korvex::editor
