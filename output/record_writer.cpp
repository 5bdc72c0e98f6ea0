#include "output/record_writer.h"

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

#include "platform/text_conversion.h"

namespace korvex::ui {

namespace {

store::Outcome writeWorkingFiles(const engine::WorkingRecord& record,
                                 const std::filesystem::path& folder) {
    return engine::writeWorkingFiles(record, folder);
}

}  // namespace

RecordWriter::RecordWriter(QObject* parent) : RecordWriter(writeWorkingFiles, parent) {}

RecordWriter::RecordWriter(WriteFunction writeRecord, QObject* parent)
    : QObject(parent),
      writeRecord_(writeRecord ? std::move(writeRecord) : writeWorkingFiles),
      thread_([this] { run(); }) {}

RecordWriter::~RecordWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

RecordWriter::Ticket RecordWriter::write(engine::WorkingRecord record,
                                         std::filesystem::path folder) {
    Ticket ticket = 0;
    {
        std::lock_guard lock(mutex_);
        ticket = ++lastTicket_;
        // An older record still waiting is out of date: the newer one takes its place.
        pending_ = Job{ticket, std::move(record), std::move(folder)};
    }
    wake_.notify_all();
    return ticket;
}

void RecordWriter::waitForIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && !pending_; });
}

bool RecordWriter::isIdle() const {
    std::lock_guard lock(mutex_);
    return !running_ && !pending_;
}

void RecordWriter::run() {
#ifdef __linux__
    // The record yields the processor to everything else, the window that shows the next
    // text above all.
    const sched_param idle{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
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

        const store::Outcome outcome = writeRecord_(job.record, job.folder);
        // Signals from this thread reach receivers on the GUI thread queued.
        if (outcome.ok()) {
            emit written(job.ticket);
        } else {
            emit failed(job.ticket, platform::toQString(outcome.message()));
        }

        lock.lock();
        running_ = false;
        if (!pending_) {
            idle_.notify_all();
        }
    }
}

}  // namespace korvex::ui
