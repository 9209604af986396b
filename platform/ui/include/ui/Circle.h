#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The largest circle centred in its rectangle. Its outline starts at the rightmost point and
// runs clockwise on screen, so a trim from 0 grows from three o'clock downwards.
struct Circle : InsetShape<Circle> {
    Path path(const graphics::CGRect& rect) const;
};

} // namespace ui
