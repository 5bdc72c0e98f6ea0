#include "engine/reading.h"

#include <array>
#include <cmath>

#include "engine/markers.h"
#include "engine/text.h"

namespace korvex::engine {
namespace {

// The characters the working form replaces.
constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (unsigned char c : {' ', '{', '}', '|'}) {
        special[c] = true;
    }
    return special;
}();
constexpr std::size_t kMaxWorkingBytes = std::size_t{0xFFFFFFFF} - 16;

void drawNumber(std::string_view argument, Draws& draws, Random& random) {
    if (auto bound = wholeNumber(argument)) {
        draws.bound = *bound;
    }
    // The product is formed in single precision, as the draw has always been.
    const float product = random.next() * static_cast<float>(draws.bound);
    draws.draw = static_cast<int>(std::floor(product)) + 1;
}

// Everything before the first "=" is the number, everything after it up to a second "=" the
// target. A line without a target has nowhere to jump to.
std::optional<std::string> conditionalTarget(std::string_view argument, Draws& draws) {
    std::string rest(trimSpaces(argument));
    for (std::size_t at; (at = rest.find(kJumpDirective)) != std::string::npos;) {
        rest.erase(at, kJumpDirective.size());
    }
    const auto pieces = splitAt(rest, '=');
    if (auto number = wholeNumber(pieces[0])) {
        draws.ifNumber = *number;
    }
    if (pieces.size() < 2 || trimSpaces(pieces[1]).empty()) {
        return std::nullopt;
    }
    return std::string(trimSpaces(pieces[1]));
}

}  // namespace

LineKind classify(std::string_view line) {
    if (line.starts_with(kAlternativeMarker)) {
        return LineKind::Alternative;
    }
    const auto trimmed = trimSpaces(line);
    if (trimmed.empty()) {
        return LineKind::Blank;
    }
    return trimmed.front() == '!' ? LineKind::Comment : LineKind::Text;
}

void appendWorkingLines(std::string_view scriptLine, bool directive, WorkingRecord& record) {
    std::string& out = record.workingText;
    std::size_t lineStart = out.size();
    // The first working line of a `\rnd\` or `\if\` line holds the directive itself: it is
    // one whatever its indentation, so four spaces (an alternative marker) never make it an
    // alternative that could be picked and printed.
    bool directiveLine = directive;
    auto endLine = [&] {
        const std::string_view line(out.data() + lineStart, out.size() - lineStart);
        LineKind kind = classify(line);
        if (directiveLine || (directive && kind == LineKind::Text)) {
            kind = LineKind::Directive;
        }
        directiveLine = false;
        record.lines.push_back(
            {static_cast<std::uint32_t>(lineStart), static_cast<std::uint32_t>(line.size()), kind});
        out += kLineBreak;
        lineStart = out.size();
    };
    const std::size_t n = scriptLine.size();
    for (std::size_t i = 0; i < n;) {
        // Copy the ordinary characters up to the next space, brace or bar in one go.
        std::size_t plain = i;
        while (plain < n && !kSpecial[static_cast<unsigned char>(scriptLine[plain])]) {
            ++plain;
        }
        out.append(scriptLine.data() + i, plain - i);
        i = plain;
        if (i == n) {
            break;
        }
        const char c = scriptLine[i];
        if (c == ' ') {
            // Braces and bars become text without spaces, so each run of spaces is replaced on
            // its own: four at a time first, then a pair, then a single space stays.
            std::size_t run = 0;
            while (i < n && scriptLine[i] == ' ') {
                ++run;
                ++i;
            }
            for (std::size_t k = 0; k < run / 4; ++k) {
                out += kAlternativeMarker;
            }
            if (run % 4 >= 2) {
                out += kSpaceMarker;
            }
            if (run % 2 == 1) {
                out += ' ';
            }
            continue;
        }
        endLine();
        if (c != '}') {
            out += kAlternativeMarker;  // "{" and "|" start an alternative
        }
        ++i;
    }
    endLine();
}

ReadingOutcome readingPass(std::string_view script, Draws& draws, Random& random, bool mayJump) {
    ReadingOutcome outcome;
    outcome.record.workingText.reserve(script.size() + script.size() / 2);
    std::size_t start = 0;
    const std::size_t n = script.size();
    while (start < n) {
        // One script line: it ends at CR LF, a lone CR or a lone LF.
        std::size_t end = start;
        while (end < n && script[end] != '\r' && script[end] != '\n') {
            ++end;
        }
        const std::string_view line = script.substr(start, end - start);
        start = end + (end + 1 < n && script[end] == '\r' && script[end + 1] == '\n' ? 2 : 1);

        // Directives read their argument from the trimmed line, so an indented directive works
        // like one at the start of the line.
        const std::string_view trimmed = trimSpaces(line);
        if (trimmed.empty() || trimmed.front() == '!') {
            continue;
        }
        if (trimmed.starts_with(kEndDirective)) {
            outcome.endRequested = true;
            continue;
        }
        bool directive = false;
        if (trimmed.starts_with(kDrawDirective)) {
            drawNumber(trimmed.substr(kDrawDirective.size()), draws, random);
            directive = true;
        } else if (trimmed.starts_with(kJumpDirective)) {
            directive = true;
            const auto target = conditionalTarget(trimmed.substr(kJumpDirective.size()), draws);
            if (target && draws.draw == draws.ifNumber) {
                if (mayJump) {
                    outcome.jumpTarget = *target;
                    return outcome;
                }
                outcome.jumpRefused = true;
            }
        } else if (trimmed.starts_with(kVariableDirective)) {
            if (outcome.variables.size() < kSlotCount) {
                outcome.variables.emplace_back(
                    trimSpaces(trimmed.substr(kVariableDirective.size())));
            }
            continue;
        }
        // A working line is at most ten times its script line ("{" becomes eleven bytes with
        // its line break); offsets are 32-bit, so a gigantic script is cut short.
        if (outcome.record.workingText.size() + 11 * line.size() + 2 > kMaxWorkingBytes) {
            outcome.scriptCut = true;
            break;
        }
        appendWorkingLines(line, directive, outcome.record);
    }
    return outcome;
}

}  // namespace korvex::engine
