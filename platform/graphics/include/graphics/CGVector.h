#pragma once

#include "graphics/CGFloat.h"

namespace graphics {

struct CGVector {
    CGFloat dx = 0;
    CGFloat dy = 0;

    static const CGVector zero;

    constexpr bool operator==(const CGVector&) const = default;
};

inline constexpr CGVector CGVector::zero{};

} // namespace graphics
