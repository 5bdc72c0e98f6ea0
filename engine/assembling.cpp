#include "engine/assembling.h"

#include <algorithm>

#include "engine/markers.h"
#include "engine/text.h"
#include "store/text_codec.h"

namespace korvex::engine {
namespace {

class Assembler {
public:
    Assembler(const AssemblyContext& context, Assembly& outcome)
        : context_(context), outcome_(outcome) {}

    void append(std::string_view piece) { append(std::string_view{}, piece); }

    // A pick is its alternative marker and its body, one piece.
    void append(std::string_view marker, std::string_view piece) {
        if (outcome_.text.size() + marker.size() + piece.size() > context_.maxBytes) {
            // Only this piece is left out: the text after it still has its place.
            outcome_.cut = true;
            return;
        }
        outcome_.text += marker;
        outcome_.text += piece;
    }

    // "\inp\1_Your name?_who": slot, prompt, name. The box is shown even when the line is
    // malformed; only a well-formed line keeps its answer.
    void ask(std::string_view line) {
        std::string rest(line);
        for (std::size_t at; (at = rest.find(kInputDirective)) != std::string::npos;) {
            rest.erase(at, kInputDirective.size());
        }
        const auto fields = splitAt(trimSpaces(rest), '_');
        const auto prompt = fields.size() > 1 ? trimSpaces(fields[1]) : std::string_view{};
        const std::string answer = context_.host.askInput(prompt).value_or(std::string{});
        // A slot number outside 0 to 99, however large, names no slot: the line keeps no
        // answer and leaves the answers already kept alone. Text that is no number at all
        // leaves the current slot as it was.
        if (const auto number = roundedNumber(fields[0])) {
            currentSlot_.reset();
            if (*number >= 0 && *number < static_cast<double>(kSlotCount)) {
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
            accumulated += kLineBreak;
        }
        append(accumulated);
    }

private:
    const AssemblyContext& context_;
    Assembly& outcome_;
    std::optional<std::size_t> currentSlot_ = 0;  ///< empty: the last slot number named none
};

}  // namespace

void Assembly::clear() {
    text.clear();
    answers.fill(std::nullopt);
    cut = false;
}

void assemble(const WorkingRecord& record, const Picks& picks, const AssemblyContext& context,
              Assembly& outcome) {
    outcome.clear();
    Assembler out(context, outcome);
    std::size_t block = 0;
    bool inRun = false;
    for (std::size_t i = 0; i < record.lineCount(); ++i) {
        switch (record.kinds[i]) {
            case LineKind::Blank:
            case LineKind::Comment:
                continue;
            case LineKind::Alternative:
                // A block contributes its pick once, where its first alternative stands.
                if (!inRun) {
                    if (block < picks.size() && picks[block] != kNoPick) {
                        out.append(kAlternativeMarker, record.body(picks[block]));
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
        const std::string_view line = record.body(i);
        const std::string_view trimmed = trimSpaces(line);
        // Every directive here starts with a backslash and "m", "i" or "I": other lines skip
        // the three tests.
        const bool mayBeDirective = trimmed.size() >= 2 && trimmed[0] == '\\' &&
                                    (trimmed[1] == 'm' || ascii::toLower(trimmed[1]) == 'i');
        if (mayBeDirective && line.starts_with(kMessageDirective)) {
            context.host.showMessage(trimSpaces(line.substr(kMessageDirective.size())));
        } else if (mayBeDirective && ascii::startsWithIgnoringCase(trimmed, kInputDirective)) {
            out.ask(line);
        } else if (mayBeDirective && line.starts_with(kIncludeDirective)) {
            out.include(trimSpaces(line.substr(kIncludeDirective.size())));
        } else {
            out.append(trimmed);
        }
    }
}

}  // namespace korvex::engine
