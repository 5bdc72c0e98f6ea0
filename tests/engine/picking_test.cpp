// Picking and the generator it draws from.

#include <gtest/gtest.h>

#include <array>

#include "engine/picking.h"
#include "engine/random.h"
#include "stage_records.h"

namespace korvex::engine {
namespace {

TEST(Picking, EveryAlternativeEquallyLikely) {
    const WorkingRecord record = recordOf({"{a|b|c|d|e}"});
    Random random(42);
    std::array<int, 5> counts{};
    const int draws = 50'000;
    Picks picks;
    for (int i = 0; i < draws; ++i) {
        pickAlternatives(record, random, picks);
        ASSERT_EQ(picks.size(), 1u);
        counts[static_cast<std::size_t>(pickText(record, picks[0]).back() - 'a')]++;
    }
    for (int count : counts) {
        EXPECT_NEAR(count, draws / 5.0, draws / 50.0);
    }
}

TEST(Picking, ReseedsOncePerBlockNumber) {
    int clockReads = 0;
    Random random(Random::Clock([&] {
        ++clockReads;
        return 12.5f;
    }));
    const WorkingRecord record = recordOf({"{a|b}", "x", "y", "{c}"});
    Picks picks;
    pickAlternatives(record, random, picks);
    EXPECT_EQ(picks.size(), 3u);
    EXPECT_EQ(clockReads, 3);
    EXPECT_EQ(picks[1], kNoPick);
    EXPECT_EQ(pickText(record, picks[1]), "");
    EXPECT_EQ(pickText(record, picks[2]), "[.dot4.]c");
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

}  // namespace
}  // namespace korvex::engine
