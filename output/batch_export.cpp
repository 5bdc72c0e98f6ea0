#include "output/batch_export.h"

#include <QDir>
#include <QProgressDialog>
#include <QTimer>
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
      projectPath_(std::move(projectPath)) {
    setObjectName(QStringLiteral("BatchExport"));
}

BatchExport::~BatchExport() {
    cancelled_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

void BatchExport::start(const BatchRequest& request) {
    request_ = request;
    if (!prepare()) {
        end();
        return;
    }
    askQuestions();

    progress_ = new QProgressDialog(window_);
    progress_->setObjectName(QStringLiteral("BatchProgress"));
    progress_->setWindowTitle(kProgramTitle);
    progress_->setLabelText(QStringLiteral("Writing %L1 texts to \"%2\"...")
                                .arg(request_.count)
                                .arg(QDir::toNativeSeparators(request_.folder)));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setRange(0, static_cast<int>(request_.count));
    progress_->setMinimumDuration(kProgressDelayMs);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setValue(0);
    // Closing the box at the end says "canceled" too; only a stop before the end counts.
    connect(progress_, &QProgressDialog::canceled, this, [this] {
        if (!done_) {
            cancelled_ = true;
        }
    });
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
            platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) {
            return false;
        }
        targets_.replace = true;
        writer_ = std::make_unique<batch::BatchWriter>(targets_, layout);
    }
    return true;
}

// The first text is made here, where boxes can be shown: its messages and questions are the
// batch's, and their answers serve every text on the worker thread.
void BatchExport::askQuestions() {
    platform::EngineHost host(state_.dialogs, kProgramTitle, window_);
    answers_.setAsker(&host);
    engine::Options options;
    options.appFolder = state_.app.root();
    engine::Random random(engine::textSeed(runSeed_, 1));
    engine::Generator generator(options, answers_, random);
    generator.generate(toUtf8(projectPath_));
    answers_.dateText();
    answers_.timeText();
    answers_.setAsker(nullptr);
}

void BatchExport::work() {
    engine::Options options;
    options.appFolder = state_.app.root();
    batch::DrawSettings draw;
    draw.wanted = request_.count;
    draw.unique = request_.unique;
    draw.maxSimilarity = request_.maxSimilarity;
    draw.textSeeds = runSeed_;
    engine::Random unused(0);
    batch::TextDrawer drawer(options, toUtf8(projectPath_), answers_, unused, draw);
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
        state_.dialogs.warning(window_, kProgramTitle, folderNotShownText(folder));
    }
}

void BatchExport::end() {
    emit finished();
}

}  // namespace korvex::ui
