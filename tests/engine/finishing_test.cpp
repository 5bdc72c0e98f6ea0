// Finishing: the markers in one pass against the ordered steps, and the order of all steps.

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "engine/finishing.h"
#include "engine/markers.h"
#include "scripted_host.h"

namespace korvex::engine {
namespace {

std::string inOnePass(std::string text) {
    std::string scratch;
    replaceMarkers(text, scratch);
    return text;
}

std::string stepByStep(std::string text) {
    replaceMarkersStepByStep(text);
    return text;
}

TEST(Finishing, TangledMarkersComeOutAsTheOrderedStepsGiveThem) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"Dear\\s\\[.dot4.]Madam,\\b\\[.dot4.]thanks", "Dear Madam,\r\nthanks"},
        {"\\b\\s\\", "\\b "},              // "\s\" is replaced before "\b\"
        {"\\s\\b\\", " b\\"},              // and then no "\b\" is left
        {"\\^\\s\\", "\\^ "},              // the same for "\^\"
        {"\\s\\s\\", " s\\"},              // left to right, without looking again
        {"\\b\\\\b\\", "\r\n\r\n"},        // two markers side by side do not share a backslash
        {"\\^\\^\\", "^\\"},               // nor does "\^\" with itself
        {"[.do[.dot4.]t2.]", " "},         // the removal joins a space marker
        {"[.dot[.dot4.]4.]", "[.dot4.]"},  // and an alternative marker, which stays
        {"\\[.dot4.]s\\", " "},            // or a backslash marker
        {"\\s[.dot4.]\\b\\", " b\\"},
        {"\\[.dot4.][.dot4.]b\\x", "\r\nx"},  // across several markers
        {"x\\s\\[.dot4.]buy", "x buy"},       // "\b" alone forms nothing
        {"[.dot2.][.dot2.]", "  "},
        {"[.dot4.", "[.dot4."},
        {"\\s", "\\s"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stepByStep(c.text), c.expected) << c.text;
        EXPECT_EQ(inOnePass(c.text), c.expected) << c.text;
    }
}

TEST(Finishing, OnePassMatchesTheOrderedStepsOnMarkerSoup) {
    std::mt19937 random(7);
    const std::string pieces[] = {"[.dot4.]", "[.dot2.]", "\\s\\", "\\b\\", "\\^\\", "\\",
                                  "[",        ".",        "d",     "o",     "t",     "2",
                                  "4",        "]",        "s",     "b",     "^",     "x y"};
    for (int round = 0; round < 50'000; ++round) {
        std::string text;
        for (auto n = random() % 16; n > 0; --n) {
            text += pieces[random() % std::size(pieces)];
        }
        ASSERT_EQ(inOnePass(text), stepByStep(text)) << "[" << text << "]";
    }
}

// The date and time follow every marker, so a removal can join one and a date can hold one.
TEST(Finishing, DateAndTimeComeLast) {
    korvex::testing::ScriptedHost host;
    const std::vector<std::string> variables{"who = \\da\\^\\te\\"};
    const WorkingRecord record;
    const Picks picks;
    const AnswerSlots answers;
    Random random(1);
    std::string text = "\\who\\ \\ti[.dot4.]me\\ \\date[.dot2.]";
    std::string scratch;
    EXPECT_TRUE(finish(text, FinishingInput{variables, record, picks, answers}, random, host, 1000,
                       scratch));
    EXPECT_EQ(text, "DATE TIME \\date ");
    EXPECT_EQ(host.dateReads, 1);
    EXPECT_EQ(host.timeReads, 1);
}

// A block is named by its number as written for it: "\i" N "\", N from 0 to 99 with no
// leading zero.
TEST(Finishing, ReferencesNameBlocksByTheirNumberAsWritten) {
    const struct {
        std::string_view text;
        std::vector<std::size_t> blocks;
    } cases[] = {
        {"\\i0\\ \\i7\\ \\i42\\ \\i99\\", {0, 7, 42, 99}},
        {"\\i05\\ \\i00\\", {}},
        {"\\i100\\ \\i5 \\ix\\ \\i\\ i5\\", {}},
        {"\\i1\\i2\\", {1, 2}},
    };
    for (const auto& c : cases) {
        const std::bitset<kSlotCount> found = referencedBlocks(c.text);
        std::vector<std::size_t> blocks;
        for (std::size_t x = 0; x < kSlotCount; ++x) {
            if (found.test(x)) {
                blocks.push_back(x);
            }
        }
        EXPECT_EQ(blocks, c.blocks) << c.text;
    }
}

}  // namespace
}  // namespace korvex::engine
