#pragma once

#include "foundation/Fatal.h"

#include <concepts>
#include <cstdint>

// Uniform draws over any generator of 64-bit values. The rules are fixed, not left to the
// standard library's distributions, so equal generator streams give equal values everywhere.
namespace foundation {

// The compiler's 128-bit integer (an extension, hence the marker).
__extension__ using UInt128 = unsigned __int128;

// A source of uniformly distributed 64-bit values.
template <class G>
concept RandomNumberGenerator = requires(G& generator) {
    { generator.next() } -> std::same_as<std::uint64_t>;
};

// An integer in [0, n): the high half of next() · n, redrawn while the low half falls below
// (2^64 − n) mod n, the few values that would favour small results. An empty range (n = 0) is a
// programmer error.
template <RandomNumberGenerator G> std::uint64_t randomUInt64Below(std::uint64_t n, G& generator) {
    if (n == 0) fatal("randomUInt64Below: the range is empty");
    UInt128 product = UInt128(generator.next()) * n;
    if (static_cast<std::uint64_t>(product) < n) {
        const std::uint64_t threshold = (0 - n) % n;
        while (static_cast<std::uint64_t>(product) < threshold)
            product = UInt128(generator.next()) * n;
    }
    return static_cast<std::uint64_t>(product >> 64);
}

// The same in 32 bits, from the low 32 bits of each next().
template <RandomNumberGenerator G> std::uint32_t randomUInt32Below(std::uint32_t n, G& generator) {
    if (n == 0) fatal("randomUInt32Below: the range is empty");
    std::uint64_t product = std::uint64_t(static_cast<std::uint32_t>(generator.next())) * n;
    if (static_cast<std::uint32_t>(product) < n) {
        const std::uint32_t threshold = std::uint32_t(0u - n) % n;
        while (static_cast<std::uint32_t>(product) < threshold)
            product = std::uint64_t(static_cast<std::uint32_t>(generator.next())) * n;
    }
    return static_cast<std::uint32_t>(product >> 32);
}

// A double in the closed range [lo, hi]: one of 2^53 + 1 evenly spaced values, hi included.
template <RandomNumberGenerator G> double randomDouble(double lo, double hi, G& generator) {
    constexpr std::uint64_t steps = std::uint64_t(1) << 53;
    const std::uint64_t r = randomUInt64Below(steps + 1, generator);
    if (r == steps) return hi;
    const double unit = double(r) * 0x1p-53;
    const double product = unit * (hi - lo);
    return product + lo;
}

// A float in the closed range [lo, hi]: one of 2^24 + 1 evenly spaced values, hi included.
template <RandomNumberGenerator G> float randomFloat(float lo, float hi, G& generator) {
    constexpr std::uint32_t steps = std::uint32_t(1) << 24;
    const std::uint32_t r = randomUInt32Below(steps + 1, generator);
    if (r == steps) return hi;
    const float unit = float(r) * 0x1p-24f;
    const float product = unit * (hi - lo);
    return product + lo;
}

} // namespace foundation
