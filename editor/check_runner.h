#pragma once
// The script checker reads the whole script, and a script may be megabytes long and name
// files to look up: it runs on a thread of its own, so typing never waits for it.

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/checker.h"
#include "platform/latest_job_thread.h"

namespace korvex::editor {

/// Runs checks one at a time on a thread of its own. Only the newest text matters: a check
/// asked for while one runs waits, replacing any check still waiting, and only the findings
/// of the last check asked for are delivered (on the thread that asked, as a signal).
class CheckRunner : public QObject {
    Q_OBJECT
public:
    using CheckFunction = std::function<std::vector<engine::Diagnostic>(
        std::string_view script, const engine::CheckOptions& options)>;

    /// Checks with `checkScript`, engine::check when empty (a test stands in its own).
    explicit CheckRunner(CheckFunction checkScript = {}, QObject* parent = nullptr);
    /// Drops a waiting check, lets a running one finish unheard, and ends the thread.
    ~CheckRunner() override = default;

    CheckRunner(const CheckRunner&) = delete;
    CheckRunner& operator=(const CheckRunner&) = delete;

    /// Checks `boxText`, a pane's text as QTextDocument::toRawText gives it, as soon as the
    /// thread is free; the thread converts it, so a large text costs the caller next to
    /// nothing.
    void check(QString boxText, engine::CheckOptions options);
    /// True while a check runs or waits.
    bool isBusy() const;

signals:
    /// The findings of the check asked for last.
    void checked(const std::vector<engine::Diagnostic>& findings);

private:
    struct Job {
        quint64 ticket = 0;
        QString text;
        engine::CheckOptions options;
    };

    void run(Job& job);
    void deliver(quint64 ticket, const std::vector<engine::Diagnostic>& findings);

    CheckFunction check_;
    quint64 lastTicket_ = 0;                 // the asking thread's own: no lock
    platform::LatestJobThread<Job> thread_;  // last: it starts once everything above exists
};

}  // namespace korvex::editor
