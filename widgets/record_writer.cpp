#include "widgets/record_writer.h"

#include "platform/text_conversion.h"

namespace korvex::ui {

namespace {

store::Outcome writeWorkingFiles(const engine::WorkingRecord& record,
                                 const std::filesystem::path& folder,
                                 const RecordWriter::StopQuery& stopped) {
    return engine::writeWorkingFiles(record, folder, false, stopped);
}

}  // namespace

RecordWriter::RecordWriter(QObject* parent) : RecordWriter(writeWorkingFiles, parent) {}

RecordWriter::RecordWriter(WriteFunction writeRecord, QObject* parent)
    : QObject(parent),
      writeRecord_(writeRecord ? std::move(writeRecord) : writeWorkingFiles),
      // The record yields the processor to everything else, the window that shows the next
      // text above all.
      thread_([this](Job& job) { run(job); }, platform::ThreadPriority::Idle) {}

RecordWriter::Ticket RecordWriter::write(engine::WorkingRecord record,
                                         std::filesystem::path folder) {
    const Ticket ticket = ++lastTicket_;
    thread_.post(Job{ticket, std::move(record), std::move(folder)});
    return ticket;
}

void RecordWriter::waitForIdle() {
    thread_.waitForIdle();
}

void RecordWriter::stop() {
    stopping_ = true;
    thread_.dropPending();
    thread_.waitForIdle();
    stopping_ = false;
}

bool RecordWriter::isIdle() const {
    return thread_.isIdle();
}

void RecordWriter::run(Job& job) {
    const store::Outcome outcome =
        writeRecord_(job.record, job.folder, [this] { return stopping_.load(); });
    // Signals from this thread reach receivers on the GUI thread queued.
    if (outcome.ok()) {
        emit written(job.ticket);
    } else {
        emit failed(job.ticket, platform::toQString(outcome.message()));
    }
}

}  // namespace korvex::ui
