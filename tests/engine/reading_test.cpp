// Reading: the working form of script lines and what each working line is.

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/reading.h"

namespace korvex::engine {
namespace {

std::vector<std::string> workingLines(std::string_view scriptLine) {
    WorkingRecord record;
    appendWorkingLines(scriptLine, false, record);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < record.lineCount(); ++i) {
        lines.push_back(record.line(i));
    }
    return lines;
}

TEST(WorkingForm, ReplacesInTheFixedOrder) {
    const struct {
        std::string line;
        std::vector<std::string> expected;
    } cases[] = {
        {"Hello {a|b} world", {"Hello ", "[.dot4.]a", "[.dot4.]b", " world"}},
        {"{a|b}", {"", "[.dot4.]a", "[.dot4.]b", ""}},
        {"{a|{b|c}}", {"", "[.dot4.]a", "[.dot4.]", "[.dot4.]b", "[.dot4.]c", "", ""}},
        {"x}y", {"x", "y"}},
        {"x|y", {"x", "[.dot4.]y"}},
        {"a  b", {"a[.dot2.]b"}},
        {"a   b", {"a[.dot2.] b"}},
        {"a     b", {"a[.dot4.] b"}},
        {"a       b", {"a[.dot4.][.dot2.] b"}},
        {"    alt", {"[.dot4.]alt"}},
        {"        alt", {"[.dot4.][.dot4.]alt"}},
        {"  { x  |  y  }  ",
         {"[.dot2.]", "[.dot4.] x[.dot2.]", "[.dot4.][.dot2.]y[.dot2.]", "[.dot2.]"}},
        {"", {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(workingLines(c.line), c.expected) << c.line;
    }
}

// "\if\ N = Target": the number before the first "=", the target up to a second one. A line
// with nothing after "=" has nowhere to go and never jumps.
TEST(Reading, JumpLineTakesNumberAndTarget) {
    const struct {
        std::string_view argument;
        std::optional<int> number;
        std::optional<std::string> target;
    } cases[] = {
        {" 2 = Other", 2, "Other"},
        {"2=Other = More", 2, "Other"},
        {"1 =", 1, std::nullopt},
        {"1 =   ", 1, std::nullopt},
        {"1 = = Other", 1, std::nullopt},
        {"1", 1, std::nullopt},
        {"x = Other", std::nullopt, "Other"},
    };
    for (const auto& c : cases) {
        const JumpLine jump = readJump(c.argument);
        EXPECT_EQ(jump.number, c.number) << c.argument;
        EXPECT_EQ(jump.target, c.target) << c.argument;
    }
}

TEST(WorkingForm, ClassifiesLines) {
    EXPECT_EQ(classify("[.dot4.]x"), LineKind::Alternative);
    EXPECT_EQ(classify("[.dot4.]"), LineKind::Alternative);
    EXPECT_EQ(classify("   "), LineKind::Blank);
    EXPECT_EQ(classify(""), LineKind::Blank);
    EXPECT_EQ(classify("  ! note"), LineKind::Comment);
    EXPECT_EQ(classify("[.dot2.]!"), LineKind::Text);
    EXPECT_EQ(classify("\t"), LineKind::Text);  // only spaces are trimmed
    EXPECT_EQ(classify(" [.dot4.]x"), LineKind::Text);
}

// The working form as the five replacements define it, one after another over the whole line,
// and the kinds of the lines that come out: the reference the reading stage must match.
std::vector<std::pair<std::string, LineKind>> orderedWorkingLines(const std::string& scriptLine,
                                                                  bool directive) {
    std::string text = scriptLine;
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"    ", "[.dot4.]"},
                                                          {"{", "\r\n[.dot4.]"},
                                                          {"}", "\r\n"},
                                                          {"|", "\r\n[.dot4.]"},
                                                          {"  ", "[.dot2.]"}}) {
        for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
            text.replace(at, from.size(), to);
        }
    }
    std::vector<std::pair<std::string, LineKind>> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        LineKind kind = classify(line);
        // The first line is the directive itself; the others count as its text lines.
        if (directive && (lines.empty() || kind == LineKind::Text)) {
            kind = LineKind::Directive;
        }
        lines.emplace_back(line, kind);
        if (end == std::string::npos) {
            return lines;
        }
        start = end + 2;
    }
}

TEST(WorkingForm, MatchesTheOrderedReplacementsOnAnyLine) {
    std::mt19937 random(20251207);
    const std::string pieces[] = {" ", " ", "  ", "    ", "{",        "|",
                                  "}", "a", "!",  "bc",   "[.dot4.]", "[.dot2.]"};
    for (int round = 0; round < 20'000; ++round) {
        const bool directive = round % 5 == 0;
        std::string line;
        if (directive) {
            line = std::string(random() % 10, ' ') + "\\rnd\\";
        }
        for (auto n = random() % 12; n > 0; --n) {
            line += pieces[random() % std::size(pieces)];
        }
        WorkingRecord record;
        appendWorkingLines(line, directive, record);
        std::vector<std::pair<std::string, LineKind>> got;
        for (std::size_t i = 0; i < record.lineCount(); ++i) {
            got.emplace_back(record.line(i), record.kinds[i]);
        }
        ASSERT_EQ(got, orderedWorkingLines(line, directive)) << "[" << line << "]";
    }
}

}  // namespace
}  // namespace korvex::engine
