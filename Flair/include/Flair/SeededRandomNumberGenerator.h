#pragma once

#include "foundation/Random.h"

#include <cstdint>

namespace Flair {

// One PCG32 stream (XSH RR output over a 64-bit linear congruential state).
struct PCGRand32 {
    static constexpr std::uint64_t multiplier = 6364136223846793005u;

    std::uint64_t state = 0;
    std::uint64_t increment = 0;

    std::uint32_t next() {
        const std::uint64_t old = state;
        state = increment + old * multiplier;
        const auto shifted = static_cast<std::uint32_t>((old >> 45) ^ (old >> 27));
        const auto rotation = static_cast<unsigned>(old >> 59);
        return (shifted >> rotation) | (shifted << ((32 - rotation) & 31));
    }

    bool operator==(const PCGRand32&) const = default;
};

// A repeatable stream of 64-bit values from two PCG32 streams, made where it is used from a seed
// such as a hash value (a signed one converts modulo 2^64). Not copyable, so two users never
// draw the same values by accident.
class SeededRandomNumberGenerator {
public:
    PCGRand32 a;
    PCGRand32 b;

    // The usual PCG32 seeding (state 0, one step, add the seed, one step) of streams 666 and 123.
    explicit SeededRandomNumberGenerator(std::uint64_t seed)
        : a(seeded(seed, 1333))
        , b(seeded(seed, 247)) {}
    SeededRandomNumberGenerator(const SeededRandomNumberGenerator&) = delete;
    SeededRandomNumberGenerator& operator=(const SeededRandomNumberGenerator&) = delete;

    std::uint64_t next() {
        const std::uint64_t high = a.next();
        return high << 32 | b.next();
    }

private:
    static PCGRand32 seeded(std::uint64_t seed, std::uint64_t increment) {
        return {seed * PCGRand32::multiplier + (increment * PCGRand32::multiplier + increment), increment};
    }
};

static_assert(foundation::RandomNumberGenerator<SeededRandomNumberGenerator>);

} // namespace Flair
