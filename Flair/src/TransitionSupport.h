#pragma once

#include "ui/AnyTransition.h"
#include "ui/GeometryEffect.h"

#include <cmath>
#include <cstddef>
#include <functional>

namespace Flair::detail {

// Hashes a double so that −0 and +0 agree, as they compare equal.
inline std::size_t hashValue(double value) {
    return std::hash<double>{}(value == 0 ? 0.0 : value);
}

inline void hashCombine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

// A mask's soft edge: at most 30 points, and none for a negative or non-number radius.
inline double clampedBlurRadius(double radius) {
    if (!(radius > 0)) return 0;
    return radius > 30 ? 30 : radius;
}

// A transition from a modifier at progress 0 (absent) to the same at progress 1 (at rest).
template <class M, class MakeAt> ui::AnyTransition progressTransition(MakeAt makeAt) {
    return ui::AnyTransition::modifier<M>(makeAt(0.0), makeAt(1.0));
}

} // namespace Flair::detail
