#include "editor/preview_runner.h"

#include <QMetaObject>

#include "engine/generate.h"
#include "engine/host.h"
#include "engine/random.h"
#include "platform/text_conversion.h"
#include "widgets/text_box.h"

namespace korvex::editor {
namespace {

// A preview shows no box: every question gets the empty answer, and messages go unseen. It
// counts both, so the pane can say so.
class PreviewHost : public engine::Host {
public:
    explicit PreviewHost(const PreviewSource& source) : source_(source) {}

    void showMessage(std::string_view) override { ++messages; }
    std::optional<std::string> askInput(std::string_view) override {
        ++questions;
        return std::string();
    }
    std::string dateText() override { return source_.dateText; }
    std::string timeText() override { return source_.timeText; }

    int questions = 0;
    int messages = 0;

private:
    const PreviewSource& source_;
};

// Up to the last line break within the limit: a text box of megabytes would hold up the window
// each time it is filled.
std::string_view shown(std::string_view text, bool& shortened) {
    if (text.size() <= static_cast<std::size_t>(PreviewRunner::kMostCharacters)) {
        return text;
    }
    // Bytes, not characters: a limit in bytes is never more characters than the pane shows.
    shortened = true;
    std::string_view head = text.substr(0, PreviewRunner::kMostCharacters);
    const std::size_t lineEnd = head.rfind('\n');
    if (lineEnd != std::string_view::npos) {
        return head.substr(0, lineEnd + 1);
    }
    // Inside a line: never split a UTF-8 character.
    std::size_t end = head.size();
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return head.substr(0, end);
}

}  // namespace

PreviewRunner::PreviewRunner(QObject* parent)
    : QObject(parent), thread_([this](Job& job) { run(job); }) {}

void PreviewRunner::generate(QString boxText, PreviewSource source, std::uint64_t seed, int count) {
    thread_.post(Job{++lastTicket_, std::move(boxText), std::move(source), seed, count});
}

bool PreviewRunner::isBusy() const {
    return !thread_.isIdle();
}

void PreviewRunner::run(Job& job) {
    engine::Options options;
    options.appFolder = job.source.appFolder;
    // The pane's text is shared with the copy taken here, never written by this thread.
    options.scriptText = ui::fromBoxText(std::move(job.text));
    PreviewHost host(job.source);
    Preview preview;
    std::string texts;
    engine::Random random(job.seed);
    // Generated as the generated-text window does, but the working files are left alone: they
    // are the record of the last real generation.
    engine::Generator generator(std::move(options), host, random);
    for (int number = 0; number < job.count; ++number) {
        random = engine::Random(job.seed + static_cast<std::uint64_t>(number));
        const engine::GenerationResult& result = generator.generate(job.source.projectPath);
        if (job.count > 1) {
            texts += (number == 0 ? "" : "\r\n\r\n");
            texts += "\u2014\u2014 " + std::to_string(number + 1) + " \u2014\u2014\r\n";
        }
        texts += shown(result.text, preview.shortened);
        if (number == 0) {
            preview.variants = result.variantCount.decimal();
            preview.variantsAbout = result.variantCount.scientific();
            preview.jumpedTo = result.caption ? platform::toQString(*result.caption) : QString();
            for (const engine::Warning& warning : result.warnings) {
                preview.warnings.append(platform::toQString(warning.text));
            }
            preview.questions = host.questions;
            preview.messages = host.messages;
        }
    }
    preview.text = ui::toBoxText(texts);
    // Posted to this object's thread; dropped there if this object is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, ticket = job.ticket, preview = std::move(preview)] { deliver(ticket, preview); },
        Qt::QueuedConnection);
}

void PreviewRunner::deliver(quint64 ticket, const Preview& preview) {
    // A newer text was asked for meanwhile: this preview shows a script that is gone.
    if (ticket == lastTicket_) {
        emit generated(preview);
    }
}

}  // namespace korvex::editor
