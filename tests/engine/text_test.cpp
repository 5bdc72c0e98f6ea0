// The text helpers: numbers as the directives read them, and replacement.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "engine/text.h"

namespace korvex::engine {
namespace {

TEST(Numbers, ReadAsWholeSixteenBitNumbers) {
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"3", 3},
        {" 3 ", 3},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"+7", 7},
        {"5.", 5},
        {".5", 0},
        {"1e3", 1000},
        {"1E+2", 100},
        {"1e-400", 0},
        {"-0", 0},
        {"32767", 32767},
        {"-32768", -32768},
        {"32767.4", 32767},
        {"32767.5", std::nullopt},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"1e400", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"3abc", std::nullopt},
        {"- 3", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"\t3", std::nullopt},
        {"3 4", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(wholeNumber(text), expected) << "[" << text << "]";
    }
}

TEST(Numbers, OutOfRangeNumbersAreStillNumbers) {
    const double inf = HUGE_VAL;
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"40000", 40000.0}, {"-70000.5", -70000.0}, {"99.5", 100.0},       {"1e400", inf},
        {"-1e400", -inf},   {"1e-400", 0.0},        {"abc", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(roundedNumber(text), expected) << "[" << text << "]";
    }
}
TEST(Replacement, ScansLeftToRightWithoutRescanning) {
    std::string text = "\\s\\s\\ and \\s\\";
    EXPECT_EQ(replaceAll(text, "\\s\\", " ", 1000), Replaced::Some);
    EXPECT_EQ(text, " s\\ and  ");

    text = "aaaa";
    EXPECT_EQ(replaceAll(text, "aa", "a", 1000), Replaced::Some);
    EXPECT_EQ(text, "aa");

    text = "none here";
    EXPECT_EQ(replaceAll(text, "\\b\\", "\r\n", 1000), Replaced::None);
    EXPECT_EQ(text, "none here");

    text = "xyx";
    EXPECT_EQ(replaceAll(text, "x", "12345", 8), Replaced::TooLong);
    EXPECT_EQ(text, "xyx");  // untouched
    EXPECT_EQ(replaceAll(text, "x", "1234", 9), Replaced::Some);
    EXPECT_EQ(text, "1234y1234");
}

}  // namespace
}  // namespace korvex::engine
