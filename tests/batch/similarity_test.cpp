// How alike texts are: hand-made pairs, and a batch measured exactly and by sampling.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "batch/similarity.h"

namespace korvex::testing {
namespace {

using batch::HighestFrom;

TEST(Similarity, HandMadePairs) {
    const struct {
        const char* a;
        const char* b;
        double expected;
    } cases[] = {
        {"one two three four five", "one two three four five", 1.0},
        {"one two three four five", "six seven eight nine ten", 0.0},
        // {one two three four, two three four five} and {zero one two three, one two three
        // four}: one run of three is shared.
        {"one two three four five", "zero one two three four", 1.0 / 3},
        {"a b c d", "a b c d e", 1.0 / 2},
        // Words are split at any white space, however much of it.
        {"a  b\r\nc\td e", "a b c d e", 1.0},
        // Short texts are one run of all their words.
        {"hello world", "hello world", 1.0},
        {"hello world", "hello there", 0.0},
        {"hello world", "hello world again", 0.0},
        {"hello", "hello world again friend", 0.0},
        // Texts without words cannot be told apart; a text with words is nothing like them.
        {"", " \r\n ", 1.0},
        {"", "word", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(batch::similarity(c.a, c.b), c.expected) << c.a << " / " << c.b;
        EXPECT_DOUBLE_EQ(batch::similarity(c.b, c.a), c.expected) << c.b << " / " << c.a;
    }
}

TEST(Similarity, PercentagesNeverRoundUpToIdentical) {
    EXPECT_EQ(batch::percentText(1.0), "100.0%");
    EXPECT_EQ(batch::percentText(0.9997), "99.9%");
    EXPECT_EQ(batch::percentText(2.0 / 3), "66.7%");
    EXPECT_EQ(batch::percentText(0.0), "0.0%");
}

// `count` texts as a script makes them: ten parts, each one of four phrases, then twenty
// words of their own, so two texts share some runs and the likeness of pairs varies.
std::vector<std::string> randomTexts(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> texts;
    for (std::size_t t = 0; t < count; ++t) {
        std::string text;
        for (std::size_t part = 0; part < 10; ++part) {
            const std::string phrase = std::to_string(part * 4 + random() % 4);
            text.append("the ").append(phrase).append(" part ").append(phrase).append(" ");
        }
        for (int w = 0; w < 20; ++w) {
            text.append("w").append(std::to_string(random() % 3000)).append(" ");
        }
        texts.push_back(text);
    }
    return texts;
}

batch::ShingleSets setsOf(const std::vector<std::string>& texts) {
    batch::ShingleSets sets;
    for (const auto& text : texts) {
        sets.add(text);
    }
    return sets;
}

TEST(Similarity, SampledBatchFindsTheSameClosestPairAsEveryPair) {
    std::vector<std::string> texts = randomTexts(400, 7);
    // Text 301 is text 101 with its last word changed: by far the closest pair.
    texts[300] = texts[100] + "changed";
    const batch::ShingleSets sets = setsOf(texts);

    batch::SimilarityOptions everyPair;
    everyPair.samplePairs = 1'000'000;
    const auto exact = batch::measureSimilarity(sets, everyPair);
    EXPECT_TRUE(exact.exact());
    EXPECT_EQ(exact.measured, 400u * 399 / 2);
    EXPECT_EQ(exact.closestFirst, 101u);
    EXPECT_EQ(exact.closestSecond, 301u);
    EXPECT_DOUBLE_EQ(exact.highest, batch::similarity(texts[100], texts[300]));

    batch::SimilarityOptions sampled;
    sampled.samplePairs = 2'000;
    const auto estimate = batch::measureSimilarity(sets, sampled);
    EXPECT_FALSE(estimate.exact());
    EXPECT_EQ(estimate.measured, 2'000u);
    EXPECT_EQ(estimate.highestFrom, HighestFrom::Candidates);
    EXPECT_FALSE(estimate.candidatesCut);
    EXPECT_EQ(estimate.closestFirst, 101u);
    EXPECT_EQ(estimate.closestSecond, 301u);
    EXPECT_DOUBLE_EQ(estimate.highest, exact.highest);
    EXPECT_NEAR(estimate.average, exact.average, 3 * estimate.averageMargin);
    EXPECT_GE(estimate.lowest, exact.lowest);
    const std::string text = batch::reportText(estimate);
    EXPECT_NE(text.find("% (estimate), average "), std::string::npos) << text;
    EXPECT_NE(text.find("Closest    : texts 101 and 301\n"), std::string::npos) << text;
}

TEST(Similarity, IdenticalTextsAreTheClosestPair) {
    std::vector<std::string> texts = randomTexts(300, 3);
    texts[250] = texts[40];
    texts[280] = texts[10];
    batch::SimilarityOptions sampled;
    sampled.samplePairs = 500;
    const auto report = batch::measureSimilarity(setsOf(texts), sampled);
    EXPECT_EQ(report.highestFrom, HighestFrom::Identical);
    EXPECT_EQ(report.highest, 1.0);
    // The first pair by the later text's position.
    EXPECT_EQ(report.closestFirst, 41u);
    EXPECT_EQ(report.closestSecond, 251u);
}

TEST(Similarity, FewTextsAreComparedPairByPair) {
    const batch::ShingleSets sets = setsOf({"a b c d e", "a b c d x", "p q r s t"});
    const auto report = batch::measureSimilarity(sets);
    EXPECT_EQ(report.pairs, 3u);
    EXPECT_DOUBLE_EQ(report.lowest, 0.0);
    EXPECT_DOUBLE_EQ(report.highest, 1.0 / 3);
    EXPECT_DOUBLE_EQ(report.average, (1.0 / 3) / 3);
    EXPECT_EQ(batch::reportText(report),
              "Texts      : 3\n"
              "Similarity : lowest 0.0%, average 11.1%, highest 33.3%\n"
              "Closest    : texts 1 and 2\n"
              "Compared   : every pair (3)\n");
    EXPECT_EQ(batch::reportText(batch::measureSimilarity(setsOf({"alone"}))),
              "Texts      : 1\nSimilarity : no pairs to compare\n");
}

}  // namespace
}  // namespace korvex::testing
