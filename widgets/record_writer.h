#pragma once
// The working files of a generation (Temp.txt and Temp/<n>.txt) are a record, and writing
// tens of thousands of small files takes seconds: the record is written on a worker thread
// after the text is shown, so it never delays the text.

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "engine/working_record.h"
#include "platform/latest_job_thread.h"

namespace korvex::ui {

/// Writes working records one at a time on a thread of its own. Only the newest record
/// matters: a record handed over while a write runs waits, and replaces any record still
/// waiting (which is then never written). Results come back on the writer's thread (the GUI
/// thread) as signals.
class RecordWriter : public QObject {
    Q_OBJECT
public:
    using Ticket = quint64;
    /// Whether the write that runs is to end at its next file (the program is ending).
    using StopQuery = std::function<bool()>;
    /// What writing one record means: engine::writeWorkingFiles, unless a test stands in
    /// (an empty function means the default). It asks `stopped` between files.
    using WriteFunction = std::function<store::Outcome(
        const engine::WorkingRecord&, const std::filesystem::path&, const StopQuery& stopped)>;

    explicit RecordWriter(QObject* parent = nullptr);
    explicit RecordWriter(WriteFunction writeRecord, QObject* parent = nullptr);
    /// Finishes the write that runs, drops any waiting record, and ends the thread.
    ~RecordWriter() override = default;

    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    /// Queues `record` to be written under the application folder `folder`; the ticket names
    /// it in the signals.
    Ticket write(engine::WorkingRecord record, std::filesystem::path folder);

    /// Blocks until no write runs and none waits.
    void waitForIdle();
    /// For the end of the program, which must not wait for tens of thousands of block files
    /// (the next start writes a new record anyway): drops the waiting record, ends the running
    /// write at its next file, and waits for that. A write cut short leaves no Temp.txt, so no
    /// half-written set stands for a generation. Records written later are written whole.
    void stop();
    bool isIdle() const;

signals:
    /// The record of `ticket` is on disk.
    void written(quint64 ticket);
    /// The record of `ticket` could not be written: `message` names the file and the reason.
    void failed(quint64 ticket, const QString& message);

private:
    struct Job {
        Ticket ticket = 0;
        engine::WorkingRecord record;
        std::filesystem::path folder;
    };

    void run(Job& job);

    WriteFunction writeRecord_;
    Ticket lastTicket_ = 0;  // the writing thread's own: no lock
    std::atomic<bool> stopping_ = false;
    platform::LatestJobThread<Job> thread_;  // last: it starts once everything above exists
};

}  // namespace korvex::ui
