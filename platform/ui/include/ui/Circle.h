#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The largest circle centred in its rectangle. Its outline starts at the rightmost point and
// runs clockwise on screen, so a trim from 0 grows from three o'clock downwards.
struct Circle : Shape<Circle> {
    graphics::CGFloat insetAmount = 0;

    Path path(const graphics::CGRect& rect) const;
    Circle inset(graphics::CGFloat amount) const;
};

} // namespace ui
