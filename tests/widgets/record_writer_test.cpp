#include <QSignalSpy>
#include <QTest>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "engine/generate.h"
#include "tests/common/test_files.h"
#include "tests/support/qt_test_main.h"
#include "widgets/record_writer.h"

using korvex::engine::WorkingRecord;
using korvex::store::Outcome;
using korvex::ui::RecordWriter;

namespace {

/// The record of a generation of `script` (one line per entry).
WorkingRecord recordOf(const korvex::testing::TempFolder& folder, const std::string& script) {
    folder.write("Projects/P.ini", script);
    struct : korvex::engine::Host {
        void showMessage(std::string_view) override {}
        std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
        std::string dateText() override { return {}; }
        std::string timeText() override { return {}; }
    } host;
    korvex::engine::Random random(7);
    korvex::engine::Options options;
    options.appFolder = folder.path();
    return korvex::engine::generate("Projects\\P", options, host, random).record;
}

/// A write that records which records it was given, and holds the first one until released.
struct GatedWrite {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool released = false;
    std::vector<std::string> seen;

    RecordWriter::WriteFunction function() {
        return [this](const WorkingRecord& record, const std::filesystem::path&,
                      const RecordWriter::StopQuery&) {
            std::unique_lock lock(mutex);
            seen.push_back(record.text);
            started = true;
            changed.notify_all();
            changed.wait(lock, [this] { return released; });
            return Outcome::success();
        };
    }
    void waitUntilStarted() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return started; });
    }
    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

WorkingRecord recordWithText(const std::string& text) {
    WorkingRecord record;
    record.text = text;
    return record;
}

}  // namespace

class RecordWriterTest : public QObject {
    Q_OBJECT
private slots:
    void writesTheWorkingFiles() {
        korvex::testing::TempFolder folder;
        std::filesystem::create_directory(folder.path() / "Temp");
        RecordWriter writer;
        QSignalSpy written(&writer, &RecordWriter::written);
        WorkingRecord record = recordOf(folder, "Hello\r\n{a|b}\r\n");
        const std::string workingFile = record.workingFile();
        const auto ticket = writer.write(std::move(record), folder.path());
        writer.waitForIdle();
        QVERIFY(writer.isIdle());
        QCOMPARE(korvex::testing::readBytes(folder.path() / "Temp.txt"), workingFile);
        QVERIFY(std::filesystem::exists(folder.path() / "Temp" / "0.txt"));
        QVERIFY(std::filesystem::exists(folder.path() / "Temp" / "1.txt"));
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(written.at(0).at(0).toULongLong(), ticket);
    }

    void failureComesBackAsAMessage() {
        korvex::testing::TempFolder folder;
        korvex::testing::writeBytes(folder.path() / "Temp", "not a folder");
        RecordWriter writer;
        QSignalSpy failed(&writer, &RecordWriter::failed);
        const auto ticket = writer.write(recordOf(folder, "{a|b}\r\n"), folder.path());
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toULongLong(), ticket);
        const QString message = failed.at(0).at(1).toString();
        QVERIFY2(message.startsWith(QString::fromStdString("Could not write \"" +
                                                           (folder.path() / "Temp").string())),
                 qPrintable(message));
    }

    void onlyTheNewestWaitingRecordIsWritten() {
        GatedWrite gate;
        RecordWriter writer(gate.function());
        QSignalSpy written(&writer, &RecordWriter::written);
        const auto first = writer.write(recordWithText("first"), {});
        gate.waitUntilStarted();
        writer.write(recordWithText("second"), {});  // waits, then is replaced
        const auto third = writer.write(recordWithText("third"), {});
        QVERIFY(!writer.isIdle());
        gate.release();
        writer.waitForIdle();
        QCOMPARE(gate.seen, (std::vector<std::string>{"first", "third"}));
        QTRY_COMPARE(written.count(), 2);
        QCOMPARE(written.at(0).at(0).toULongLong(), first);
        QCOMPARE(written.at(1).at(0).toULongLong(), third);
    }
};

KORVEX_QTEST(RecordWriterTest)
#include "record_writer_test.moc"
