#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ui {

// The whole rectangle it is drawn in.
struct Rectangle : InsetShape<Rectangle> {
    Path path(const graphics::CGRect& rect) const;
};

} // namespace ui
