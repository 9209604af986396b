#pragma once

#include "ColorSpaceInfo.h"
#include "graphics/CGFloat.h"

#include <array>
#include <span>
#include <vector>

namespace graphics::detail {

// Linear light on the sRGB primaries, unbounded: where every conversion meets.
using LinearRGB = std::array<CGFloat, 3>;

// `components` are the colour components of `space`, alpha not included.
LinearRGB toLinearSRGB(const ColorSpaceInfo& space, std::span<const CGFloat> components);
// The colour components of `space`, alpha not included and not yet clamped.
std::vector<CGFloat> fromLinearSRGB(const ColorSpaceInfo& space, const LinearRGB& rgb);

} // namespace graphics::detail
