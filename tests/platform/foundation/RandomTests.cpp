#include "foundation/Random.h"
#include "foundation/SystemRandomNumberGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <set>
#include <vector>

namespace {

// Hands out the given raw values in order and counts what was drawn.
struct ScriptedGenerator {
    std::vector<std::uint64_t> values;
    std::size_t drawn = 0;

    ScriptedGenerator(std::initializer_list<std::uint64_t> script)
        : values(script) {}
    std::uint64_t next() { return values.at(drawn++); }
};

constexpr std::uint64_t allOnes = std::numeric_limits<std::uint64_t>::max();

} // namespace

TEST(RandomTest, A64BitDrawTakesTheHighHalfAndRedrawsOnlyBelowTheThreshold) {
    // n = 3: the threshold (2^64 − 3) mod 3 is 1.
    {
        ScriptedGenerator atOnce{std::uint64_t(1) << 63}; // 3 · 2^63 = 2^64 + 2^63: low half far above n
        EXPECT_EQ(foundation::randomUInt64Below(3, atOnce), 1u);
        EXPECT_EQ(atOnce.drawn, 1u);
    }
    {
        ScriptedGenerator afterTest{0x5555555555555556u}; // 3r = 2^64 + 2: low half 2 < n but ≥ 1
        EXPECT_EQ(foundation::randomUInt64Below(3, afterTest), 1u);
        EXPECT_EQ(afterTest.drawn, 1u);
    }
    {
        ScriptedGenerator rejected{0, std::uint64_t(1) << 63}; // low half 0 < 1: drawn again
        EXPECT_EQ(foundation::randomUInt64Below(3, rejected), 1u);
        EXPECT_EQ(rejected.drawn, 2u);
    }
    ScriptedGenerator top{allOnes};
    EXPECT_EQ(foundation::randomUInt64Below(10, top), 9u);
}

TEST(RandomTest, A32BitDrawReadsTheLowHalfOfEachValue) {
    // High bits are ignored: 0xFFFFFFFF_00000002 draws as 2, and 2 · 3 = 6 has high half 0.
    ScriptedGenerator generator{0xFFFFFFFF00000002u, 0x0000000180000000u};
    EXPECT_EQ(foundation::randomUInt32Below(3, generator), 0u);
    // 2^31 · 3 = 2^32 + 2^31: high half 1.
    EXPECT_EQ(foundation::randomUInt32Below(3, generator), 1u);
    // The threshold of 32-bit draws: (2^32 − 3) mod 3 = 1, so a low value 0 is drawn again.
    ScriptedGenerator rejected{0, 0x80000000u};
    EXPECT_EQ(foundation::randomUInt32Below(3, rejected), 1u);
    EXPECT_EQ(rejected.drawn, 2u);
}

TEST(RandomTest, ClosedRangesReachBothEnds) {
    ScriptedGenerator doubles{1, allOnes, std::uint64_t(1) << 63};
    EXPECT_EQ(foundation::randomDouble(-2.5, 7.0, doubles), -2.5);
    EXPECT_EQ(foundation::randomDouble(-2.5, 7.0, doubles), 7.0);
    // 2^63 · (2^53 + 1) has high half 2^52: exactly the middle.
    EXPECT_EQ(foundation::randomDouble(-2.5, 7.0, doubles), 0.5 * 9.5 - 2.5);

    ScriptedGenerator floats{1, allOnes, 0x80000000u};
    EXPECT_EQ(foundation::randomFloat(0.25f, 4.0f, floats), 0.25f);
    EXPECT_EQ(foundation::randomFloat(0.25f, 4.0f, floats), 4.0f);
    EXPECT_EQ(foundation::randomFloat(0.25f, 4.0f, floats), 0.5f * 3.75f + 0.25f);
}

TEST(RandomTest, TheSystemGeneratorGivesValuesThatDifferAndFillAllBits) {
    foundation::SystemRandomNumberGenerator system;
    std::set<std::uint64_t> seen;
    std::uint64_t anyBits = 0;
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t value = system.next();
        seen.insert(value);
        anyBits |= value;
    }
    EXPECT_EQ(seen.size(), 64u);
    EXPECT_EQ(anyBits, allOnes) << "every byte of each value is filled";
    const double seed = foundation::randomDouble(0, 255, system);
    EXPECT_GE(seed, 0);
    EXPECT_LE(seed, 255);
}

TEST(RandomDeathTest, AnEmptyRangeIsAProgrammerError) {
    ScriptedGenerator generator{5, 5};
    EXPECT_DEATH(foundation::randomUInt64Below(0, generator),
                 "Fatal error: randomUInt64Below: the range is empty");
    EXPECT_DEATH(foundation::randomUInt32Below(0, generator),
                 "Fatal error: randomUInt32Below: the range is empty");
}
