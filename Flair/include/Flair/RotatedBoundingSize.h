#pragma once

#include "graphics/CGSize.h"

namespace Flair {

// The axis-aligned size of a width × height rectangle turned by `angle` radians.
graphics::CGSize rotatedBoundingSize(double angle, double width, double height);

} // namespace Flair
