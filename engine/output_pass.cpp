#include "engine/output_pass.h"

#include <algorithm>
#include <cmath>

#include "engine/text.h"
#include "store/text_codec.h"

namespace korvex::engine {
namespace {

class Assembler {
public:
    explicit Assembler(const OutputContext& context) : context_(context) {}

    void append(std::string_view piece) {
        if (outcome_.text.size() + piece.size() > context_.maxBytes) {
            // Only this piece is left out: the text after it still has its place.
            outcome_.cut = true;
            return;
        }
        outcome_.text += piece;
    }

    // "\inp\1_Your name?_who": slot, prompt, name. The box is shown even when the line is
    // malformed; only a well-formed line keeps its answer.
    void ask(std::string_view line) {
        std::string rest(line);
        for (std::size_t at; (at = rest.find("\\inp\\")) != std::string::npos;) {
            rest.erase(at, 5);
        }
        const auto fields = splitAt(trimSpaces(rest), '_');
        const auto prompt = fields.size() > 1 ? trimSpaces(fields[1]) : std::string_view{};
        const std::string answer = context_.host.askInput(prompt).value_or(std::string{});
        // A slot number outside 0 to 99, however large, names no slot: the line keeps no
        // answer and leaves the answers already kept alone. Text that is no number at all
        // leaves the current slot as it was.
        if (const auto number = roundedNumber(fields[0])) {
            currentSlot_.reset();
            if (*number >= 0 && *number < static_cast<double>(kAnswerSlots)) {
                currentSlot_ = static_cast<std::size_t>(*number);
            }
        }
        if (currentSlot_ && fields.size() >= 3) {
            // The name ends where a record of answer, name and slot would split it: at "=".
            std::string_view name = trimSpaces(fields[2]);
            name = name.substr(0, name.find('='));
            outcome_.answers[*currentSlot_] =
                Answer{std::string(trimSpaces(answer)), std::string(name)};
        }
    }

    // Included text arrives unchanged, each of its lines followed by CR LF.
    void include(std::string_view pathText) {
        if (!context_.readInclude) {
            return;
        }
        const std::size_t room =
            context_.maxBytes - std::min(context_.maxBytes, outcome_.text.size());
        const IncludedFile file = context_.readInclude(pathText, room);
        if (file.status == IncludedFile::Status::TooLarge) {
            outcome_.cut = true;
            return;
        }
        if (file.status != IncludedFile::Status::Read) {
            return;
        }
        std::string accumulated;
        accumulated.reserve(file.text.size() + file.text.size() / 16);
        for (const auto line : store::splitLines(file.text)) {
            accumulated += line;
            accumulated += "\r\n";
        }
        append(accumulated);
    }

    OutputOutcome take() { return std::move(outcome_); }

private:
    const OutputContext& context_;
    OutputOutcome outcome_;
    std::optional<std::size_t> currentSlot_ = 0;  ///< empty: the last slot number named none
};

}  // namespace

std::vector<std::string_view> pickAlternatives(const WorkingRecord& record, Random& random) {
    const std::size_t blocks = record.blockCount() + 1;
    std::vector<std::string_view> picks(blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t n = record.alternativesOf(b);
        random.reseedFromClock();
        const auto index =
            static_cast<std::size_t>(std::floor(static_cast<double>(n) * random.next()));
        if (n > 0) {
            picks[b] = record.line(record.altLines[record.blockStart[b] + index]);
        }
    }
    return picks;
}

OutputOutcome assembleOutput(const WorkingRecord& record, const std::vector<LineKind>& kinds,
                             const std::vector<std::string_view>& picks,
                             const OutputContext& context) {
    Assembler out(context);
    std::size_t block = 0;
    bool inRun = false;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const std::string_view line = record.line(i);
        switch (kinds[i]) {
            case LineKind::Blank:
            case LineKind::Comment:
                continue;
            case LineKind::Alternative:
                // A block contributes its pick once, where its first alternative stands.
                if (!inRun) {
                    if (block < picks.size()) {
                        out.append(picks[block]);
                    }
                    inRun = true;
                }
                continue;
            case LineKind::Directive:
                ++block;
                inRun = false;
                continue;
            case LineKind::Text:
                ++block;
                inRun = false;
                break;
        }
        if (line.starts_with("\\msg\\")) {
            context.host.showMessage(trimSpaces(line.substr(5)));
        } else if (ascii::startsWithIgnoringCase(trimSpaces(line), "\\inp\\")) {
            out.ask(line);
        } else if (line.starts_with("\\inc\\")) {
            out.include(trimSpaces(line.substr(5)));
        } else {
            out.append(trimSpaces(line));
        }
    }
    return out.take();
}

}  // namespace korvex::engine
