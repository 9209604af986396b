#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The ellipse that fills its rectangle; the outline runs like a circle's.
struct Ellipse : InsetShape<Ellipse> {
    Path path(const graphics::CGRect& rect) const;
};

} // namespace ui
