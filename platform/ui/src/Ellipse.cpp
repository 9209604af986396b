#include "ui/Ellipse.h"

namespace ui {

Path Ellipse::path(const graphics::CGRect& rect) const {
    return Path::ellipseIn(rect.insetBy(insetAmount, insetAmount));
}

Ellipse Ellipse::inset(graphics::CGFloat amount) const {
    Ellipse shape = *this;
    shape.insetAmount += amount;
    return shape;
}

} // namespace ui
