#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The whole rectangle it is drawn in.
struct Rectangle : Shape<Rectangle> {
    // How far every edge has moved in, summed over inset() calls.
    graphics::CGFloat insetAmount = 0;

    Path path(const graphics::CGRect& rect) const;
    Rectangle inset(graphics::CGFloat amount) const;
};

} // namespace ui
