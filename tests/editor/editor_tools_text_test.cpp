#include <gtest/gtest.h>

#include <QString>
#include <optional>
#include <utility>

#include "editor/brace_match.h"
#include "editor/editor_file.h"

using namespace korvex::editor;

namespace {

TEST(MatchingBraces, PairsTheBraceAtTheCaret) {
    using Pair = std::optional<std::pair<int, int>>;
    const struct {
        const char* line;
        int caret;
        Pair expected;
    } cases[] = {
        {"a {b|c} d", 2, Pair({2, 6})},  // before the opening brace
        {"a {b|c} d", 7, Pair({6, 2})},  // after the closing one
        {"{a{b}c}", 0, Pair({0, 6})},    // nested, from outside
        {"{a{b}c}", 3, Pair({2, 4})},    // after an inner opening brace
        {"{a|b", 0, std::nullopt},       // never closed
        {"a|b", 1, std::nullopt},        // no brace near
        {"}{", 1, std::nullopt},         // the pair the wrong way round
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchingBraces(QString::fromUtf8(c.line), c.caret), c.expected)
            << c.line << " at " << c.caret;
    }
}

TEST(WritingPlace, NewScriptsOpenWhereTheUserWrites) {
    const struct {
        const char* text;
        int place;
    } cases[] = {
        {"\n! Letter --- 1/2/2024  10:00\n\n\n! End Letter\n", 30},  // a new project
        {"! Only a comment", 16},                                    // nothing blank after it
        {"! Note\n\nHello {a|b}\n", 0},                              // already written in
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(writingPlace(QString::fromUtf8(c.text)), c.place) << c.text;
    }
}

}  // namespace
