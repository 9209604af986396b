#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The ellipse that fills its rectangle; the outline runs like a circle's.
struct Ellipse : Shape<Ellipse> {
    graphics::CGFloat insetAmount = 0;

    Path path(const graphics::CGRect& rect) const;
    Ellipse inset(graphics::CGFloat amount) const;
};

} // namespace ui
