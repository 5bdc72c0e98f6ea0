#include "output/batch_export.h"

#include <QDir>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <random>

#include "batch/text_drawer.h"
#include "engine/script_file.h"
#include "output/output_window.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/engine_host.h"
#include "platform/text_conversion.h"
#include "store/project_name.h"
#include "widgets/program_title.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::fromPath;
using platform::toPath;
using platform::toQString;
using platform::toUtf8;

namespace {

constexpr int kPollMs = 50;
constexpr int kProgressDelayMs = 300;

}  // namespace

BatchExport::BatchExport(SharedState& state, QWidget* window, QString title, QString projectPath)
    : QObject(window),
      state_(state),
      window_(window),
      title_(std::move(title)),
      projectPath_(std::move(projectPath)),
      host_(state.dialogs, kProgramTitle, window),
      asking_(std::make_unique<WindowThreadHost>(*this, host_)),
      answers_(asking_.get()) {
    setObjectName(QStringLiteral("BatchExport"));
}

BatchExport::~BatchExport() {
    stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void BatchExport::stop() {
    if (!done_) {
        cancelled_ = true;
    }
    // A question waiting for the window's thread answers as Cancel.
    asking_->stop();
}

void BatchExport::start(const BatchRequest& request) {
    request_ = request;
    if (!prepare()) {
        end();
        return;
    }
    progress_ = new QProgressDialog(window_);
    progress_->setObjectName(QStringLiteral("BatchProgress"));
    progress_->setWindowTitle(kProgramTitle);
    progress_->setLabelText(QStringLiteral("Writing %L1 texts to \"%2\"...")
                                .arg(request_.count)
                                .arg(QDir::toNativeSeparators(request_.folder)));
    // The work runs on its own thread: the rest of the program stays free meanwhile.
    progress_->setWindowModality(Qt::NonModal);
    progress_->setRange(0, static_cast<int>(request_.count));
    progress_->setMinimumDuration(kProgressDelayMs);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setValue(0);
    // Closing the box at the end says "canceled" too; only a stop before the end counts.
    connect(progress_, &QProgressDialog::canceled, this, &BatchExport::stop);
    poll_ = oneShotTimer(this, QStringLiteral("BatchPoll"), kPollMs);
    poll_->setSingleShot(false);
    connect(poll_, &QTimer::timeout, this, &BatchExport::poll);
    worker_ = std::thread([this] { work(); });
    poll_->start();
}

// The targets, and whether the files that exist may be replaced.
bool BatchExport::prepare() {
    std::string name = store::cleanProjectName(toUtf8(title_));
    if (name.empty()) {
        name = "Untitled";
    }
    const std::filesystem::path folder = toPath(request_.folder);
    targets_ = {};
    targets_.scriptName = name;
    targets_.seedPerText = true;
    if (request_.csv) {
        targets_.csv = folder / (name + ".csv");
    } else {
        targets_.folder = folder;
    }
    runSeed_ = (static_cast<std::uint64_t>(std::random_device()()) << 32) ^ std::random_device()();

    const std::string script =
        engine::readTextFile(engine::diskPath(toUtf8(projectPath_) + ".ini", state_.app.root()))
            .value_or(std::string());
    batch::RecordLayout layout = batch::scriptLayout(script);
    layout.seeds = true;
    writer_ = std::make_unique<batch::BatchWriter>(targets_, layout);
    const bool predictable = !request_.unique && !request_.maxSimilarity;
    const auto existing = writer_->firstExisting(
        request_.count, [&](std::uint64_t position) -> std::optional<std::uint64_t> {
            return predictable ? std::optional(engine::textSeed(runSeed_, position)) : std::nullopt;
        });
    if (existing) {
        const platform::Answer answer = state_.dialogs.question(
            window_, kProgramTitle,
            QStringLiteral("\"%1\" already exists. Replace the files of this export that exist?")
                .arg(fromPath(*existing)),
            platform::Buttons::YesNo, platform::Answer::No);
        if (answer != platform::Answer::Yes) {
            return false;
        }
        targets_.replace = true;
        writer_ = std::make_unique<batch::BatchWriter>(targets_, layout);
    }
    return true;
}

void BatchExport::work() {
    engine::Options options;
    options.appFolder = state_.app.root();
    batch::DrawSettings draw;
    draw.wanted = request_.count;
    draw.unique = request_.unique;
    draw.maxSimilarity = request_.maxSimilarity;
    draw.textSeeds = runSeed_;
    // Every core draws; the texts, their order and which are kept are those of one thread.
    draw.threads = std::max(1u, std::thread::hardware_concurrency());
    batch::TextDrawer drawer(options, toUtf8(projectPath_), answers_, draw);
    drawer.setBeforeDraw([this] {
        answers_.startText();
        return !cancelled_;
    });
    const batch::RecordLayout layout = writer_->layout();
    store::Outcome outcome = writer_->open();
    batch::TextRecord record;
    while (outcome && drawer.next()) {
        const engine::GenerationResult& result = drawer.result();
        record.index = drawer.kept();
        record.draw = drawer.draw();
        record.seed = *drawer.seed();
        record.text = result.text;
        record.jump = result.caption ? std::string_view(*result.caption) : std::string_view();
        batch::takeChoices(layout, drawer.choices(), result.caption.has_value(), record);
        outcome = writer_->write(record);
        if (outcome) {
            written_ = drawer.kept();
        }
    }
    // What was written before a stop is kept, records included.
    if (outcome) {
        outcome = writer_->finish();
    }
    failure_ = outcome.message();
    draws_ = drawer.draws();
    done_ = true;
}

void BatchExport::poll() {
    if (!done_) {
        if (!cancelled_) {
            progress_->setValue(static_cast<int>(written_));
        }
        return;
    }
    poll_->stop();
    worker_.join();
    progress_->close();
    conclude();
    end();
}

void BatchExport::conclude() {
    const QString folder = fromPath(targets_.csv ? targets_.csv->parent_path() : *targets_.folder);
    if (!failure_.empty()) {
        state_.dialogs.warning(window_, kProgramTitle, toQString(failure_));
        return;
    }
    const std::uint64_t written = written_;
    if (cancelled_) {
        state_.dialogs.information(window_, kProgramTitle,
                                   QStringLiteral("Stopped after %L1 of %L2 texts; the texts "
                                                  "written are in \"%3\".")
                                       .arg(written)
                                       .arg(request_.count)
                                       .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    if (written < request_.count) {
        state_.dialogs.information(
            window_, kProgramTitle,
            QStringLiteral("Only %L1 of the %L2 texts asked for came in %L3 draws: the others "
                           "were too much like texts kept before.")
                .arg(written)
                .arg(request_.count)
                .arg(draws_));
    }
    if (!state_.desktop.openFolder(folder)) {
        const QString written = targets_.csv ? fromPath(*targets_.csv) : folder;
        state_.dialogs.warning(window_, kProgramTitle, savedButFolderNotShownText(written, folder));
    }
}

void BatchExport::end() {
    emit finished();
}

}  // namespace korvex::ui
