#pragma once
// "Export Many Texts..." of the generated-text window: the texts are drawn on every core and
// written, in order, on a worker thread while a progress box, which leaves the rest of the
// program free, shows how far it is and lets the user stop. Each question of the script is
// asked, on the window's thread, the first time a text reaches it, and its answer serves every
// later text.

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "batch/answers.h"
#include "batch/batch_writer.h"
#include "output/batch_dialog.h"
#include "output/window_thread_host.h"
#include "platform/engine_host.h"
#include "widgets/shared_state.h"

class QProgressDialog;
class QTimer;
class QWidget;

namespace korvex::ui {

/// One batch of texts from a window's project, into files or a CSV file.
class BatchExport : public QObject {
    Q_OBJECT
public:
    /// Texts of the project at `projectPath` ("Projects\Letter"), named after `title`; the boxes
    /// belong to `window`, which owns this object.
    BatchExport(SharedState& state, QWidget* window, QString title, QString projectPath);
    /// A batch still running is stopped after its text and its thread waited for.
    ~BatchExport() override;
    BatchExport(const BatchExport&) = delete;
    BatchExport& operator=(const BatchExport&) = delete;

    /// Asks whether files that exist may be replaced, asks the script's questions, and starts
    /// the batch. finished() follows in any case, at once when nothing was started.
    void start(const BatchRequest& request);

    /// The texts are being written (the progress box is up).
    bool isRunning() const { return worker_.joinable(); }
    /// A question or message of the script is up.
    bool isAsking() const { return asking_ && asking_->isAsking(); }
    /// Stops the batch after the text it is writing; what was written stays.
    void stop();
    const BatchRequest& request() const { return request_; }
    std::uint64_t written() const { return written_; }

signals:
    /// The batch ended, written whole, stopped or failed, and the user was told.
    void finished();

private:
    bool prepare();
    void work();
    void poll();
    void conclude();
    void end();

    SharedState& state_;
    QWidget* window_;
    QString title_;
    QString projectPath_;
    BatchRequest request_;
    std::uint64_t runSeed_ = 0;
    batch::ExportTargets targets_;
    std::unique_ptr<batch::BatchWriter> writer_;
    platform::EngineHost host_;
    std::unique_ptr<WindowThreadHost> asking_;  // host_, from the worker's thread
    batch::RememberedAnswers answers_;
    QProgressDialog* progress_ = nullptr;
    QTimer* poll_ = nullptr;
    std::thread worker_;
    std::atomic<std::uint64_t> written_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    // Written by the worker before done_, read after it.
    std::string failure_;
    std::uint64_t draws_ = 0;
};

}  // namespace korvex::ui
