#pragma once
// What each part of a script line is, for the editor's colours. The line is read by the
// engine's own reading and recognisers, so a colour never tells the writer something the
// engine would not do with the line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/working_record.h"

namespace korvex::editor {

enum class ScriptStyle : std::uint8_t {
    Comment,      ///< a comment line, or a piece of a line that the output pass skips
    Directive,    ///< a directive's keyword: "\rnd\", "\if\", "\v", "\msg\", "\inc\", ...
    Brace,        ///< "{", "}", "|", and the bars between a variable's options
    Indent,       ///< the four spaces that make a line an alternative
    Alternative,  ///< the text of an alternative
    Marker,       ///< "\s\", "\b\", "\^\", "\date\", "\time\", "[.dot4.]", "[.dot2.]"
    Reference,    ///< "\name\" and "\i3\", and the name a `\v` line defines
};
inline constexpr std::size_t kScriptStyleCount = 7;

/// A styled part of a line, in bytes of its UTF-8 text.
struct StyleSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    ScriptStyle style = ScriptStyle::Comment;
    bool operator==(const StyleSpan&) const = default;
};

/// Finds the styled parts of script lines. Keeps its memory from one line to the next, so a
/// highlighter that styles every line of a large script allocates next to nothing.
class ScriptLineStyler {
public:
    /// The styled parts of `line` (one script line, UTF-8, without its line break), in order
    /// and not overlapping; what no span covers is plain text. Valid until the next call.
    const std::vector<StyleSpan>& style(std::string_view line);

private:
    void add(std::size_t start, std::size_t length, ScriptStyle style);
    void styleVariable(std::string_view line, std::string_view argument);
    void stylePiece(std::string_view line, std::size_t from, std::size_t to, std::size_t index,
                    std::size_t keywordSize);
    /// Markers and names from `from` to `to`, the rest in `base` (none: plain text).
    void styleNames(std::string_view line, std::size_t from, std::size_t to,
                    std::optional<ScriptStyle> base);

    engine::WorkingRecord record_;
    std::vector<StyleSpan> spans_;
};

}  // namespace korvex::editor
