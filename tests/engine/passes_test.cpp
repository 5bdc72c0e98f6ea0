// The passes one by one: the working form of script lines, numbers, replacements, blocks,
// the generator and the variant count.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine/blocks.h"
#include "engine/output_pass.h"
#include "engine/random.h"
#include "engine/reading_pass.h"
#include "engine/text.h"
#include "engine/variant_count.h"

namespace korvex::engine {
namespace {

std::vector<std::string> workingLines(std::string_view scriptLine) {
    WorkingRecord record;
    std::vector<LineKind> kinds;
    appendWorkingLines(scriptLine, false, record, kinds);
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

TEST(Blocks, NumberedByTheTextLinesBeforeThem) {
    WorkingRecord record;
    std::vector<LineKind> kinds;
    for (std::string_view line : {"{a|b}", "text", "! note", "    c", "", "    d", "more", "end"}) {
        appendWorkingLines(line, false, record, kinds);
    }
    splitBlocks(record, kinds);
    EXPECT_EQ(record.blockCount(), 3u);
    EXPECT_EQ(record.alternativesOf(0), 2u);
    EXPECT_EQ(record.alternativesOf(1), 2u);  // blank and comment lines do not end a block
    EXPECT_EQ(record.alternativesOf(2), 0u);
    EXPECT_EQ(record.alternativesOf(3), 0u);
    EXPECT_EQ(record.line(record.altLines[record.blockStart[1]]), "[.dot4.]c");

    WorkingRecord plain;
    std::vector<LineKind> plainKinds;
    appendWorkingLines("only text", false, plain, plainKinds);
    appendWorkingLines("and more", false, plain, plainKinds);
    splitBlocks(plain, plainKinds);
    EXPECT_EQ(plain.blockCount(), 0u);  // without alternatives there is just block 0
}

TEST(Picking, EveryAlternativeEquallyLikely) {
    WorkingRecord record;
    std::vector<LineKind> kinds;
    appendWorkingLines("{a|b|c|d|e}", false, record, kinds);
    splitBlocks(record, kinds);
    Random random(42);
    std::array<int, 5> counts{};
    const int draws = 50'000;
    for (int i = 0; i < draws; ++i) {
        const auto picks = pickAlternatives(record, random);
        ASSERT_EQ(picks.size(), 1u);
        counts[static_cast<std::size_t>(picks[0].back() - 'a')]++;
    }
    for (int count : counts) {
        EXPECT_NEAR(count, draws / 5, draws / 50);
    }
}

TEST(Picking, ReseedsOncePerBlockNumber) {
    int clockReads = 0;
    Random random(Random::Clock([&] {
        ++clockReads;
        return 12.5f;
    }));
    WorkingRecord record;
    std::vector<LineKind> kinds;
    for (std::string_view line : {"{a|b}", "x", "y", "{c}"}) {
        appendWorkingLines(line, false, record, kinds);
    }
    splitBlocks(record, kinds);
    const auto picks = pickAlternatives(record, random);
    EXPECT_EQ(picks.size(), 3u);
    EXPECT_EQ(clockReads, 3);
    EXPECT_EQ(picks[1], "");
    EXPECT_EQ(picks[2], "[.dot4.]c");
}

// The output pass reads nothing itself: included files come through the reader it is given.
TEST(OutputPass, IncludesThroughItsReader) {
    class SilentHost : public Host {
        void showMessage(std::string_view) override {}
        std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
        std::string dateText() override { return {}; }
        std::string timeText() override { return {}; }
    } host;
    WorkingRecord record;
    std::vector<LineKind> kinds;
    for (std::string_view line :
         {"x", "\\inc\\ one ", "\\inc\\ missing", "\\inc\\ big", "\\inc\\ one", "y"}) {
        appendWorkingLines(line, false, record, kinds);
    }
    splitBlocks(record, kinds);
    std::vector<std::pair<std::string, std::size_t>> asked;
    auto reader = [&](std::string_view path, std::size_t room) {
        asked.emplace_back(path, room);
        using Status = IncludedFile::Status;
        if (path == "one") {
            return IncludedFile{Status::Read, "1\r2\n"};
        }
        return IncludedFile{path == "big" ? Status::TooLarge : Status::Missing, {}};
    };
    const auto output =
        assembleOutput(record, kinds, {std::string_view{}}, OutputContext{host, reader, 100});
    EXPECT_EQ(output.text, "x1\r\n2\r\n1\r\n2\r\ny");
    EXPECT_TRUE(output.cut);  // the big file was left out, and only it
    const std::vector<std::pair<std::string, std::size_t>> expected{
        {"one", 99}, {"missing", 93}, {"big", 93}, {"one", 93}};
    EXPECT_EQ(asked, expected);
}

TEST(RandomGenerator, FixedStartAndFreshSequencesAfterReseeding) {
    Random a([] { return 0.0f; });
    Random b([] { return 0.0f; });
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(a.next(), b.next());  // the same values after every start
    }
    a.reseed(100.0f);
    const float afterFirst = a.next();
    a.reseed(100.0f);
    EXPECT_NE(a.next(), afterFirst);  // the same time value does not repeat the sequence

    Random seeded1(7), seeded2(7), other(8);
    bool differs = false;
    for (int i = 0; i < 10; ++i) {
        seeded1.reseedFromClock();
        seeded2.reseedFromClock();
        other.reseedFromClock();
        const float value = seeded1.next();
        EXPECT_EQ(value, seeded2.next());
        differs = differs || value != other.next();
    }
    EXPECT_TRUE(differs);

    double sum = 0;
    for (int i = 0; i < 100'000; ++i) {
        const float r = seeded1.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
    }
    EXPECT_NEAR(sum / 100'000, 0.5, 0.01);
}

TEST(RandomGenerator, TimeOfDayIsWithinADay) {
    const float t = Random::timeOfDay();
    EXPECT_GE(t, 0.0f);
    EXPECT_LT(t, 86400.5f);
}

TEST(Variants, ExactAtAnySize) {
    VariantCount none;
    EXPECT_EQ(none.decimal(), "1");

    VariantCount small;
    for (std::uint32_t f : {0u, 1u, 2u, 3u, 0u, 7u}) {
        small.multiplyBy(f);
    }
    EXPECT_EQ(small.decimal(), "42");

    VariantCount powerOfTwo;
    for (int i = 0; i < 100; ++i) {
        powerOfTwo.multiplyBy(2);
    }
    EXPECT_EQ(powerOfTwo.decimal(), "1267650600228229401496703205376");
    EXPECT_EQ(powerOfTwo.scientific(3), "1.27e+30");

    VariantCount huge;
    for (int i = 0; i < 50'000; ++i) {
        huge.multiplyBy(4);
    }
    EXPECT_EQ(huge.digitCount(), 30'103u);
    EXPECT_EQ(huge.decimal().substr(0, 8), "99900209");  // 4^50000 = 9.99002...e30102
    EXPECT_EQ(huge.scientific(3), "9.99e+30102");
    EXPECT_EQ(huge.scientific(4), "9.990e+30102");

    VariantCount nines;
    nines.multiplyBy(999);
    EXPECT_EQ(nines.scientific(2), "1.0e+3");
    EXPECT_EQ(nines.scientific(1), "1e+3");
}

}  // namespace
}  // namespace korvex::engine
