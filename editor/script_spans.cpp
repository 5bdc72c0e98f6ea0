#include "editor/script_spans.h"

#include <algorithm>

#include "engine/assembling.h"
#include "engine/finishing.h"
#include "engine/inline_names.h"
#include "engine/markers.h"
#include "engine/reading.h"
#include "store/ascii.h"

namespace korvex::editor {
namespace {

constexpr std::size_t kIndent = 4;  // the spaces the alternative marker stands for
constexpr std::string_view kBreaks = "{}|";

std::size_t offsetIn(std::string_view line, std::string_view part) {
    return static_cast<std::size_t>(part.data() - line.data());
}

}  // namespace

void ScriptLineStyler::add(std::size_t start, std::size_t length, ScriptStyle style) {
    if (length > 0) {
        spans_.push_back({start, length, style});
    }
}

const std::vector<StyleSpan>& ScriptLineStyler::style(std::string_view line) {
    spans_.clear();
    const engine::ScriptLine read = engine::readScriptLine(line);
    const std::size_t lead = line.find_first_not_of(' ');
    std::size_t keywordSize = 0;
    switch (read.kind) {
        case engine::ScriptLineKind::Skipped:
            if (lead != std::string_view::npos) {
                add(lead, line.size() - lead, ScriptStyle::Comment);
            }
            return spans_;
        case engine::ScriptLineKind::End:
            add(lead, engine::kEndDirective.size(), ScriptStyle::Directive);
            return spans_;
        case engine::ScriptLineKind::Variable:
            add(lead, engine::kVariableDirective.size(), ScriptStyle::Directive);
            styleVariable(line, read.argument);
            return spans_;
        case engine::ScriptLineKind::Draw:
            keywordSize = engine::kDrawDirective.size();
            break;
        case engine::ScriptLineKind::Jump:
            keywordSize = engine::kJumpDirective.size();
            break;
        case engine::ScriptLineKind::Plain:
            break;
    }
    // The pieces between braces and bars are the line's working lines, one each, so the
    // engine's reading says what every piece is.
    record_.clear();
    engine::appendWorkingLines(line, keywordSize > 0, record_);
    std::size_t from = 0;
    for (std::size_t k = 0; k < record_.lineCount(); ++k) {
        const std::size_t to = std::min(line.find_first_of(kBreaks, from), line.size());
        stylePiece(line, from, to, k, keywordSize);
        if (to == line.size()) {
            break;
        }
        add(to, 1, ScriptStyle::Brace);
        from = to + 1;
    }
    return spans_;
}

// "\v name = red|green": the name it defines, and the value whose options the bars separate.
void ScriptLineStyler::styleVariable(std::string_view line, std::string_view argument) {
    const auto definition = engine::readVariable(ascii::trimSpaces(argument));
    if (!definition) {
        return;
    }
    add(offsetIn(line, definition->name), definition->name.size(), ScriptStyle::Reference);
    const std::string_view value = definition->value;
    std::size_t from = offsetIn(line, value);
    const std::size_t end = from + value.size();
    for (;;) {
        const std::size_t bar = std::min(line.find('|', from), end);
        styleNames(line, from, bar, std::nullopt);
        if (bar == end) {
            return;
        }
        add(bar, 1, ScriptStyle::Brace);
        from = bar + 1;
    }
}

void ScriptLineStyler::stylePiece(std::string_view line, std::size_t from, std::size_t to,
                                  std::size_t index, std::size_t keywordSize) {
    const std::string_view piece = line.substr(from, to - from);
    const std::size_t lead = from + std::min(piece.find_first_not_of(' '), piece.size());
    switch (record_.kinds[index]) {
        case engine::LineKind::Blank:
            return;
        case engine::LineKind::Comment:
            add(lead, to - lead, ScriptStyle::Comment);
            return;
        case engine::LineKind::Directive:
            // The directive's own line shows its keyword; the text lines a brace breaks off
            // it never reach the finished text.
            if (index == 0) {
                add(lead, keywordSize, ScriptStyle::Directive);
            } else {
                add(lead, to - lead, ScriptStyle::Comment);
            }
            return;
        case engine::LineKind::Alternative:
            if (index == 0 && piece.starts_with("    ")) {
                add(from, kIndent, ScriptStyle::Indent);
                from += kIndent;
            }
            styleNames(line, from, to, ScriptStyle::Alternative);
            return;
        case engine::LineKind::Text:
            break;
    }
    switch (engine::outputDirective(record_.body(index))) {
        case engine::OutputDirective::None:
            styleNames(line, from, to, std::nullopt);
            return;
        // A message is shown as written and a path used as written: only the keyword.
        case engine::OutputDirective::Message:
            add(lead, engine::kMessageDirective.size(), ScriptStyle::Directive);
            return;
        case engine::OutputDirective::Include:
            add(lead, engine::kIncludeDirective.size(), ScriptStyle::Directive);
            return;
        case engine::OutputDirective::Input:
            add(lead, engine::kInputDirective.size(), ScriptStyle::Directive);
            return;
    }
}

void ScriptLineStyler::styleNames(std::string_view line, std::size_t from, std::size_t to,
                                  std::optional<ScriptStyle> base) {
    const auto plain = [&](std::size_t start, std::size_t end) {
        if (base) {
            add(start, end - start, *base);
        }
    };
    std::size_t plainFrom = from;
    const auto styled = [&](std::size_t start, std::size_t length, ScriptStyle style) {
        plain(plainFrom, start);
        add(start, length, style);
        plainFrom = start + length;
    };
    // Looked for up to `to` only: a long line has many pieces, and a search to the line's end
    // from each of them reads the line again and again.
    const std::string_view piece = line.substr(0, to);
    for (std::size_t p = from; p < to;) {
        p = std::min(piece.find_first_of("\\[", p), to);
        if (p == to) {
            break;
        }
        const std::string_view rest = line.substr(p, to - p);
        if (line[p] == '[') {
            if (rest.starts_with(engine::kAlternativeMarker) ||
                rest.starts_with(engine::kSpaceMarker)) {
                styled(p, engine::kSpaceMarker.size(), ScriptStyle::Marker);
                p += engine::kSpaceMarker.size();
            } else {
                ++p;
            }
            continue;
        }
        const std::size_t close = rest.find('\\', 1);
        if (close == std::string_view::npos) {
            break;
        }
        // Backslashes pair up left to right: a name finishing replaces takes both of its
        // own; any other leaves its closing backslash to open the next name.
        switch (engine::classifyInlineName(rest.substr(1, close - 1))) {
            case engine::InlineName::Marker:
                styled(p, close + 1, ScriptStyle::Marker);
                p += close + 1;
                break;
            case engine::InlineName::BlockReference:
            case engine::InlineName::Name:
                styled(p, close + 1, ScriptStyle::Reference);
                p += close + 1;
                break;
            default:
                p += close;
                break;
        }
    }
    plain(plainFrom, to);
}

}  // namespace korvex::editor
