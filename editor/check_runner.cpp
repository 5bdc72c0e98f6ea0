#include "editor/check_runner.h"

#include <QMetaObject>

#include "widgets/text_box.h"

namespace korvex::editor {

CheckRunner::CheckRunner(CheckFunction checkScript, QObject* parent)
    : QObject(parent),
      check_(checkScript ? std::move(checkScript) : CheckFunction(&engine::check)),
      thread_([this](Job& job) { run(job); }) {}

void CheckRunner::check(QString boxText, engine::CheckOptions options) {
    thread_.post(Job{++lastTicket_, std::move(boxText), std::move(options)});
}

bool CheckRunner::isBusy() const {
    return !thread_.isIdle();
}

void CheckRunner::run(Job& job) {
    // The pane's text is shared with the copy taken here, never written by this thread.
    const std::string script = ui::fromBoxText(std::move(job.text));
    std::vector<engine::Diagnostic> findings = check_(script, job.options);
    // Posted to this object's thread; dropped there if this object is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, ticket = job.ticket, findings = std::move(findings)] { deliver(ticket, findings); },
        Qt::QueuedConnection);
}

void CheckRunner::deliver(quint64 ticket, const std::vector<engine::Diagnostic>& findings) {
    // A newer text was asked for meanwhile: these findings describe a text that is gone.
    if (ticket == lastTicket_) {
        emit checked(findings);
    }
}

}  // namespace korvex::editor
