// --max-similarity's index of near copies keeps exactly the texts a comparison with every text
// kept keeps, and its early stop answers as the full comparison does.

#include "batch/near_copies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "batch/text_drawer.h"
#include "tests/common/test_files.h"
#include "tests/engine/scripted_host.h"

namespace korvex::testing {
namespace {

TEST(NearCopies, TheEarlyStopAnswersAsTheFullComparison) {
    std::mt19937 random(7);
    // Sets drawn from a small universe, so that pairs from identical to disjoint all come up,
    // empty ones included.
    auto draw = [&](std::size_t most) {
        std::vector<std::uint32_t> set;
        const std::size_t size = random() % (most + 1);
        for (std::size_t k = 0; k < size; ++k) {
            set.push_back(static_cast<std::uint32_t>(random() % (most + most / 8 + 1)));
        }
        std::sort(set.begin(), set.end());
        set.erase(std::unique(set.begin(), set.end()), set.end());
        return set;
    };
    for (const double percent : {0.0, 33.3, 50.0, 90.0, 95.0, 99.5, 100.0}) {
        for (int pair = 0; pair < 3000; ++pair) {
            const auto a = draw(pair % 40);
            const auto b = pair % 3 == 0 ? a : draw(pair % 40);
            const auto aOnly = static_cast<std::uint32_t>(random() % 3);
            ASSERT_EQ(batch::moreAlikeThan(a, aOnly, b, percent),
                      batch::likeness(a, b, aOnly).above(percent))
                << percent << "% pair " << pair;
        }
    }
}

// The draw numbers kept from `script`.
std::vector<std::uint64_t> keptDraws(const std::filesystem::path& script, double percent,
                                     bool compareEveryText) {
    engine::Options options;
    options.scriptFile = script;
    ScriptedHost host;
    engine::Random random(11);
    batch::DrawSettings settings;
    settings.wanted = 150;
    settings.maxSimilarity = percent;
    settings.compareEveryText = compareEveryText;
    batch::TextDrawer drawer(options, script.string(), host, random, settings);
    std::vector<std::uint64_t> kept;
    while (drawer.next()) {
        kept.push_back(drawer.draw());
    }
    return kept;
}

TEST(NearCopies, TheIndexKeepsTheTextsEveryComparisonKeeps) {
    TempFolder folder;
    // Texts of many sizes that share most of their words, and some near copies: a pick of an
    // empty alternative or of a word more.
    const auto script = folder.write(
        "letter.ini",
        "Dear {Ann|Bo Lee|Cy}, thank you for the {lovely|very kind|} letter about the {new "
        "office|move|plans for next year}. I {was glad|was happy} to read it and {will write "
        "soon|hope to see you|}. Best {wishes|regards} from {Jo|Kim|Lee and Sam}.\r\n");
    for (const double percent : {0.0, 50.0, 80.0, 90.0, 95.0, 100.0}) {
        const auto everyText = keptDraws(script, percent, true);
        EXPECT_EQ(keptDraws(script, percent, false), everyText) << percent << "%";
        if (percent == 90.0) {
            // Near copies were left out, so the index had something to find.
            EXPECT_GT(everyText.back(), everyText.size()) << percent << "%";
        }
    }
}

}  // namespace
}  // namespace korvex::testing
