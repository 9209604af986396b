#pragma once

#include <cstdint>

namespace ui {

enum class Axis { horizontal, vertical };

// A set of axes (the platform's `Axis.Set`), as scroll views take them.
struct AxisSet {
    std::uint8_t bits = 0;

    static const AxisSet horizontal, vertical, both;

    constexpr bool contains(Axis axis) const { return bits & (1u << unsigned(axis)); }
    constexpr AxisSet operator|(AxisSet other) const { return {std::uint8_t(bits | other.bits)}; }
    constexpr bool operator==(const AxisSet&) const = default;
};

inline constexpr AxisSet AxisSet::horizontal{1};
inline constexpr AxisSet AxisSet::vertical{2};
inline constexpr AxisSet AxisSet::both{3};

} // namespace ui
