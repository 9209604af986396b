#include "Flair/SeededRandomNumberGenerator.h"

#include "foundation/Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

using Flair::PCGRand32;
using Flair::SeededRandomNumberGenerator;

namespace {

constexpr std::uint64_t M = 6364136223846793005u;

// The usual PCG32 seeding: state 0, one step, add the initial state, one step.
PCGRand32 usuallySeeded(std::uint64_t initialState, std::uint64_t sequence) {
    PCGRand32 stream{0, sequence << 1 | 1};
    stream.next();
    stream.state += initialState;
    stream.next();
    return stream;
}

} // namespace

TEST(SeededRandomNumberGeneratorTest, AStreamReproducesThePublishedReferenceOutput) {
    // The reference run of PCG32 with initial state 42 on sequence 54.
    PCGRand32 stream = usuallySeeded(42, 54);
    EXPECT_EQ(stream.increment, 109u);
    for (std::uint32_t expected :
         {0xa15c02b7u, 0x7b47f409u, 0xba1d3330u, 0x83d2f293u, 0xbfa4784bu, 0xcbed606eu})
        EXPECT_EQ(stream.next(), expected);
}

TEST(SeededRandomNumberGeneratorTest, SeedsTwoStreamsAndJoinsTheirOutputs) {
    static_assert(!std::is_copy_constructible_v<SeededRandomNumberGenerator>);
    SeededRandomNumberGenerator zero(0);
    EXPECT_EQ(zero.a.state, 1333 * M + 1333);
    EXPECT_EQ(zero.b.state, 247 * M + 247);
    // A signed hash converts modulo 2^64.
    for (std::uint64_t seed : {std::uint64_t(0), std::uint64_t(77), std::uint64_t(-1234567)}) {
        SeededRandomNumberGenerator generator(seed);
        PCGRand32 a = usuallySeeded(seed, 666);
        PCGRand32 b = usuallySeeded(seed, 123);
        EXPECT_EQ(generator.a, a);
        EXPECT_EQ(generator.b, b);
        for (int i = 0; i < 4; ++i) {
            const std::uint64_t high = a.next();
            EXPECT_EQ(generator.next(), high << 32 | b.next());
        }
    }

    SeededRandomNumberGenerator first(9876), second(9876), other(9877);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const std::uint64_t value = first.next();
        EXPECT_EQ(value, second.next());
        differs |= value != other.next();
    }
    EXPECT_TRUE(differs);
}

TEST(SeededRandomNumberGeneratorTest, AThirtyTwoBitDrawStepsBothStreams) {
    SeededRandomNumberGenerator generator(5);
    PCGRand32 a = generator.a, b = generator.b;
    foundation::randomUInt32Below(1000, generator);
    a.next();
    b.next();
    EXPECT_EQ(generator.a, a);
    EXPECT_EQ(generator.b, b);
}
