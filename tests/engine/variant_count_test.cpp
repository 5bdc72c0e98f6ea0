// The variant count, exact at any size.

#include <gtest/gtest.h>

#include "engine/variant_count.h"

namespace korvex::engine {
namespace {

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
