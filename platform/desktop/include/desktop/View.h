#pragma once

#include "graphics/CGRect.h"

class QPainter;

namespace desktop {

// Something that draws itself into a rectangle of a tile or window, in points.
class View {
public:
    virtual ~View() = default;
    virtual void draw(QPainter& painter, const graphics::CGRect& bounds) const = 0;
};

} // namespace desktop
