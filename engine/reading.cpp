#include "engine/reading.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/byte_search.h"
#include "engine/markers.h"
#include "engine/text.h"

namespace korvex::engine {
namespace {

// The record's offsets and line numbers are 32-bit: a gigantic script is cut short.
constexpr std::size_t kMaxRecordSize = std::numeric_limits<std::uint32_t>::max() - 16;
// A working line's body is at most four times its script text ("  " becomes "[.dot2.]").
constexpr std::size_t kMaxGrowth = 4;

void drawNumber(std::string_view argument, Draws& draws, Random& random) {
    if (auto bound = wholeNumber(argument)) {
        draws.bound = *bound;
    }
    // The product is formed in single precision, as the draw has always been.
    const float product = random.next() * static_cast<float>(draws.bound);
    draws.draw = static_cast<int>(std::floor(product)) + 1;
}

// What a working line that does not begin with the alternative marker is.
LineKind textKind(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    if (i == line.size()) {
        return LineKind::Blank;
    }
    return line[i] == '!' ? LineKind::Comment : LineKind::Text;
}

// A run of spaces in working form: four at a time first, then a pair, then a single space.
void appendSpaces(std::string& out, std::size_t run) {
    for (std::size_t k = 0; k < run / 4; ++k) {
        out += kAlternativeMarker;
    }
    if (run % 4 >= 2) {
        out += kSpaceMarker;
    }
    if (run % 2 == 1) {
        out += ' ';
    }
}

// The first byte at or after `p` that the working form changes: a brace, a bar, or a space
// that another space follows (a single space stays as it is).
const char* findWorkingSpecial(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i bar = _mm_set1_epi8('|');
    const __m128i space = _mm_set1_epi8(' ');
    while (end - p >= 17) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i braces =
            _mm_or_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(bytes, close));
        const __m128i spaces =
            _mm_and_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(next, space));
        const int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(braces, _mm_cmpeq_epi8(bytes, bar)), spaces));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        const char c = *p;
        if (c == '{' || c == '}' || c == '|' || (c == ' ' && p + 1 < end && p[1] == ' ')) {
            return p;
        }
    }
    return end;
}

}  // namespace

void ReadingOutcome::clear() {
    record.clear();
    variables.clear();
    endRequested = false;
    jumpTarget.reset();
    jumpRefused = false;
    scriptCut = false;
}

LineKind classify(std::string_view line) {
    return line.starts_with(kAlternativeMarker) ? LineKind::Alternative : textKind(line);
}

void appendWorkingLines(std::string_view scriptLine, bool directive, WorkingRecord& record) {
    std::string& out = record.text;
    const char* p = scriptLine.data();
    const char* const end = p + scriptLine.size();
    // The line being written follows a "{" or a "|", or begins with four spaces: it is an
    // alternative, and its body leaves out the marker its kind stands for.
    bool alternative = false;
    bool firstLine = true;
    auto startLine = [&] {
        const char* spaces = p;
        while (spaces < end && *spaces == ' ') {
            ++spaces;
        }
        // The first working line of a directive is the directive, however far it is indented.
        if (!alternative && spaces - p >= 4 && !(firstLine && directive)) {
            alternative = true;
            appendSpaces(out, static_cast<std::size_t>(spaces - p) - 4);
            p = spaces;
        }
    };
    auto endLine = [&] {
        const std::size_t start = record.ends.empty() ? 0 : record.ends.back();
        const std::string_view body(out.data() + start, out.size() - start);
        LineKind kind = LineKind::Alternative;
        if (!alternative) {
            kind = textKind(body);
            // The marker typed out in the script makes an alternative as four spaces do.
            if (kind == LineKind::Text && body.front() == '[' && !(firstLine && directive) &&
                body.starts_with(kAlternativeMarker)) {
                kind = LineKind::Alternative;
                out.erase(start, kAlternativeMarker.size());
            }
        }
        if (directive && kind == LineKind::Text) {
            kind = LineKind::Directive;
        }
        record.ends.push_back(static_cast<std::uint32_t>(out.size()));
        record.kinds.push_back(kind);
        firstLine = false;
    };

    startLine();
    for (;;) {
        const char* special = findWorkingSpecial(p, end);
        out.append(p, static_cast<std::size_t>(special - p));
        p = special;
        if (p == end) {
            break;
        }
        if (*p == ' ') {
            const char* spaces = p;
            while (spaces < end && *spaces == ' ') {
                ++spaces;
            }
            appendSpaces(out, static_cast<std::size_t>(spaces - p));
            p = spaces;
            continue;
        }
        endLine();
        alternative = *p != '}';  // "{" and "|" start an alternative
        ++p;
        startLine();
    }
    endLine();
}

std::string_view nextScriptLine(const char*& p, const char* end) {
    const char* lineEnd = findEither(p, end, '\r', '\n');
    const std::string_view line(p, static_cast<std::size_t>(lineEnd - p));
    p = lineEnd;
    if (p < end) {
        p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
    }
    return line;
}

ScriptLine readScriptLine(std::string_view line) {
    std::size_t lead = 0;
    while (lead < line.size() && line[lead] == ' ') {
        ++lead;
    }
    if (lead == line.size() || line[lead] == '!') {
        return {ScriptLineKind::Skipped, {}};
    }
    if (line[lead] != '\\') {
        return {ScriptLineKind::Plain, {}};
    }
    // Directives read their argument from the trimmed line, so an indented directive works
    // like one at the start of the line.
    const std::string_view trimmed = trimSpaces(line);
    const struct {
        std::string_view keyword;
        ScriptLineKind kind;
    } directives[] = {
        {kEndDirective, ScriptLineKind::End},
        {kDrawDirective, ScriptLineKind::Draw},
        {kJumpDirective, ScriptLineKind::Jump},
        {kVariableDirective, ScriptLineKind::Variable},
    };
    for (const auto& d : directives) {
        if (trimmed.starts_with(d.keyword)) {
            return {d.kind, trimmed.substr(d.keyword.size())};
        }
    }
    return {ScriptLineKind::Plain, {}};
}

// Everything before the first "=" is the number, everything after it up to a second "=" the
// target. A line without a target has nowhere to jump to.
JumpLine readJump(std::string_view argument) {
    std::string rest(trimSpaces(argument));
    for (std::size_t at; (at = rest.find(kJumpDirective)) != std::string::npos;) {
        rest.erase(at, kJumpDirective.size());
    }
    const auto pieces = splitAt(rest, '=');
    JumpLine jump;
    jump.number = wholeNumber(pieces[0]);
    if (pieces.size() >= 2 && !trimSpaces(pieces[1]).empty()) {
        jump.target = std::string(trimSpaces(pieces[1]));
    }
    return jump;
}

void readScript(std::string_view script, Draws& draws, Random& random, bool mayJump,
                ReadingOutcome& outcome) {
    outcome.clear();
    WorkingRecord& record = outcome.record;
    record.text.reserve(script.size());
    const char* p = script.data();
    const char* const end = p + script.size();
    while (p < end) {
        const std::string_view line = nextScriptLine(p, end);
        const ScriptLine read = readScriptLine(line);
        bool directive = false;
        switch (read.kind) {
            case ScriptLineKind::Skipped:
                continue;
            case ScriptLineKind::End:
                outcome.endRequested = true;
                continue;
            case ScriptLineKind::Variable:
                if (outcome.variables.size() < kSlotCount) {
                    outcome.variables.emplace_back(trimSpaces(read.argument));
                }
                continue;
            case ScriptLineKind::Draw:
                drawNumber(read.argument, draws, random);
                directive = true;
                break;
            case ScriptLineKind::Jump: {
                directive = true;
                const JumpLine jump = readJump(read.argument);
                if (jump.number) {
                    draws.ifNumber = *jump.number;
                }
                if (jump.target && draws.draw == draws.ifNumber) {
                    if (mayJump) {
                        outcome.jumpTarget = *jump.target;
                        return;
                    }
                    outcome.jumpRefused = true;
                }
                break;
            }
            case ScriptLineKind::Plain:
                break;
        }
        // At most one working line per byte and one more, each body at most four times its
        // script text.
        if (record.text.size() + kMaxGrowth * line.size() > kMaxRecordSize ||
            record.kinds.size() + line.size() + 1 > kMaxRecordSize) {
            outcome.scriptCut = true;
            break;
        }
        appendWorkingLines(line, directive, record);
    }
}

}  // namespace korvex::engine
