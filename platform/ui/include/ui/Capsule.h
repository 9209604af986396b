#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// A rectangle whose shorter sides are half circles.
struct Capsule : Shape<Capsule> {
    graphics::CGFloat insetAmount = 0;

    Path path(const graphics::CGRect& rect) const;
    Capsule inset(graphics::CGFloat amount) const;
};

} // namespace ui
