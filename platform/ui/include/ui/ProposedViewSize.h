#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGSize.h"

#include <limits>
#include <optional>

namespace ui {

using graphics::CGFloat;

// What a parent offers a child, per axis: nothing (unspecified: "your ideal size, please"),
// a finite length, or infinity ("as much as you like"). Every view answers every proposal.
struct ProposedViewSize {
    std::optional<CGFloat> width;
    std::optional<CGFloat> height;

    constexpr ProposedViewSize() = default;
    constexpr ProposedViewSize(std::optional<CGFloat> width, std::optional<CGFloat> height)
        : width(width)
        , height(height) {}
    constexpr ProposedViewSize(graphics::CGSize size)
        : width(size.width)
        , height(size.height) {}

    static constexpr ProposedViewSize zero() { return {0.0, 0.0}; }
    static constexpr ProposedViewSize infinity() {
        return {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()};
    }
    static constexpr ProposedViewSize unspecified() { return {}; }

    // Unspecified dimensions become those of `size` (10 × 10 by default, as placeholders do).
    constexpr graphics::CGSize replacingUnspecifiedDimensions(graphics::CGSize size = {10, 10}) const {
        return {width.value_or(size.width), height.value_or(size.height)};
    }

    constexpr bool operator==(const ProposedViewSize&) const = default;
};

} // namespace ui
