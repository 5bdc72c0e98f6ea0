// The styled parts of script lines: what the engine does with each line decides its colours.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/script_spans.h"

using namespace korvex::editor;

namespace {

constexpr auto kComment = ScriptStyle::Comment;
constexpr auto kDirective = ScriptStyle::Directive;
constexpr auto kBrace = ScriptStyle::Brace;
constexpr auto kIndent = ScriptStyle::Indent;
constexpr auto kAlternative = ScriptStyle::Alternative;
constexpr auto kMarker = ScriptStyle::Marker;
constexpr auto kReference = ScriptStyle::Reference;

struct SpanCase {
    std::string line;
    std::vector<StyleSpan> spans;
};

TEST(ScriptSpans, EachLineStyledAsTheEngineReadsIt) {
    const std::vector<SpanCase> cases = {
        {"", {}},
        {"! a note", {{0, 8, kComment}}},
        {"   ! indented note", {{3, 15, kComment}}},
        {"Hello {a|b} world",
         {{6, 1, kBrace},
          {7, 1, kAlternative},
          {8, 1, kBrace},
          {9, 1, kAlternative},
          {10, 1, kBrace}}},
        {"    thanks", {{0, 4, kIndent}, {4, 6, kAlternative}}},
        // The marker typed out makes an alternative as four spaces do.
        {"[.dot4.]typed", {{0, 8, kMarker}, {8, 5, kAlternative}}},
        {R"(Dear\s\\name\,)", {{4, 3, kMarker}, {7, 6, kReference}}},
        // A name that is not replaced leaves its closing backslash to open the next one.
        {R"(a \end\s\)", {{6, 3, kMarker}}},
        {R"(\i7\ \i07\)", {{0, 4, kReference}}},
        {R"(\rnd\ 3)", {{0, 5, kDirective}}},
        {R"(    \rnd\ 3)", {{4, 5, kDirective}}},
        {R"(  \if\ 2 = Other)", {{2, 4, kDirective}}},
        // The text a brace breaks off a directive's line never reaches the finished text.
        {R"(\rnd\ 2 {a|b} tail)",
         {{0, 5, kDirective},
          {8, 1, kBrace},
          {9, 1, kAlternative},
          {10, 1, kBrace},
          {11, 1, kAlternative},
          {12, 1, kBrace},
          {14, 4, kComment}}},
        {R"(\v colour = red|\s\green)",
         {{0, 2, kDirective}, {3, 6, kReference}, {15, 1, kBrace}, {16, 3, kMarker}}},
        {R"(\end\ anything)", {{0, 5, kDirective}}},
        // A message is shown as written: its markers are not markers.
        {R"(\msg\ Hi\s\)", {{0, 5, kDirective}}},
        {R"( \INP\1_Name?_who)", {{1, 5, kDirective}}},
        {R"(\inc\ Extra\x.txt)", {{0, 5, kDirective}}},
        // Two spaces before it make a "\msg\" plain text, which finishing leaves alone.
        {R"(  \msg\ x)", {}},
        {"x}!y", {{1, 1, kBrace}, {2, 2, kComment}}},
        // UTF-8 text counts in bytes.
        {"\xC3\xA9{\xC3\xA0}", {{2, 1, kBrace}, {3, 2, kAlternative}, {5, 1, kBrace}}},
    };
    ScriptLineStyler styler;
    for (const SpanCase& c : cases) {
        EXPECT_EQ(styler.style(c.line), c.spans) << c.line;
    }
}

}  // namespace
