#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// A rectangle whose shorter sides are half circles.
struct Capsule : InsetShape<Capsule> {
    Path path(const graphics::CGRect& rect) const;
};

} // namespace ui
