// Tests of the process's random generator: the first values for known seeds and the uniform draw's range.
// Pairs with scene/random.cpp.
#include "scene/random.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The generator written out independently: state = state * 214013 + 2531011, value = bits 16..30.
std::int32_t referenceNext(std::uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
}

TEST(Random, FirstValuesOfSeedOneAreTheCRuntimeSequence) {
    seedRandom(1);
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
    EXPECT_EQ(nextRandom(), 26500);
    EXPECT_EQ(nextRandom(), 19169);
}

TEST(Random, SeedsFollowTheFormulaIncludingTheStateWrap) {
    for (std::uint32_t seed : {0u, 2u, 255u, 12345u, 0xFFFFFFFFu}) {
        seedRandom(seed);
        std::uint32_t reference = seed;
        for (int i = 0; i < 1000; ++i) {
            std::int32_t expected = referenceNext(reference);
            ASSERT_EQ(nextRandom(), expected) << "seed " << seed << " draw " << i;
        }
    }
    seedRandom(0);
    EXPECT_EQ(nextRandom(), 38);
}

TEST(Random, UniformDrawTruncatesBelowTheScale) {
    // The largest value, 32767, times the scale stays below 1, so truncating U * n never gives n.
    EXPECT_LT(32767.0 * static_cast<double>(kRandomScale), 1.0);
    seedRandom(7);
    for (int i = 0; i < 100000; ++i) {
        double u = uniformRandom();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(static_cast<int>(u * 20), 20);
    }
}

}  // namespace
