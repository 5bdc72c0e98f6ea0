// Every golden case through the engine: the text, the questions and messages, the counts, the
// caption, the end request and the warnings.

#include <gtest/gtest.h>

#include <set>

#include "engine/generate.h"
#include "golden_case.h"
#include "scripted_host.h"

namespace korvex::testing {
namespace {

engine::GenerationResult runCase(const CaseFolder& folder, ScriptedHost& host, std::uint64_t seed) {
    engine::Options options;
    options.appFolder = folder.path();
    engine::Random random(seed);
    return engine::generate("Projects\\script", options, host, random);
}

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, GeneratesTheExpectedText) {
    const GoldenCase& c = GetParam();
    CaseFolder folder(c);
    ScriptedHost host(c.answers);
    const auto result = runCase(folder, host, c.seed);

    EXPECT_TRUE(c.accepts(result.text)) << "got: [" << result.text << "]";
    EXPECT_EQ(host.prompts, c.prompts);
    EXPECT_EQ(host.messages, c.messages);
    if (c.items) {
        EXPECT_EQ(std::to_string(result.alternativeCount), *c.items);
    }
    if (c.variants) {
        EXPECT_EQ(result.variantCount.decimal(), *c.variants);
    }
    EXPECT_EQ(result.caption, c.caption);
    EXPECT_EQ(result.endRequested, c.end);
    EXPECT_EQ(!result.warnings.empty(), c.warning);
    EXPECT_EQ(host.dateReads, c.dateTime ? 1 : 0);
}

// Cases with several possible texts: over many seeds each of them comes up, and nothing else.
class ChoiceTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ChoiceTest, EveryAlternativeComesUp) {
    const GoldenCase& c = GetParam();
    CaseFolder folder(c);
    std::set<std::string> seen;
    for (std::uint64_t seed = 0; seed < 400; ++seed) {
        ScriptedHost host(c.answers);
        const auto text = runCase(folder, host, seed).text;
        ASSERT_TRUE(c.accepts(text)) << "seed " << seed << " gave [" << text << "]";
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), std::set<std::string>(c.oneOf.begin(), c.oneOf.end()).size());
}

std::string caseName(const ::testing::TestParamInfo<GoldenCase>& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) {
            ch = '_';
        }
    }
    return name;
}

std::vector<GoldenCase> casesWithChoices() {
    auto cases = loadGoldenCases(KORVEX_GOLDEN_DIR);
    std::erase_if(cases, [](const GoldenCase& c) { return c.oneOf.empty(); });
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenTest,
                         ::testing::ValuesIn(loadGoldenCases(KORVEX_GOLDEN_DIR)), caseName);
INSTANTIATE_TEST_SUITE_P(Golden, ChoiceTest, ::testing::ValuesIn(casesWithChoices()), caseName);

}  // namespace
}  // namespace korvex::testing
