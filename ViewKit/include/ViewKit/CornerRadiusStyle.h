#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"

namespace ViewKit {

// One corner radius, in points.
struct CornerRadiusStyle {
    graphics::CGFloat radius = 0;

    bool operator==(const CornerRadiusStyle&) const = default;
};

// The view clipped to a rounded rectangle of the style's radius, antialiased.
ViewOperation cornerRadius(CornerRadiusStyle style);

} // namespace ViewKit
