// Reading: the working form of script lines and what each working line is.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reading.h"

namespace korvex::engine {
namespace {

std::vector<std::string> workingLines(std::string_view scriptLine) {
    WorkingRecord record;
    appendWorkingLines(scriptLine, false, record);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < record.lines.size(); ++i) {
        lines.emplace_back(record.line(i));
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

}  // namespace
}  // namespace korvex::engine
