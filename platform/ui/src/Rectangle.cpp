#include "ui/Rectangle.h"

namespace ui {

Path Rectangle::path(const graphics::CGRect& rect) const {
    return Path(rect.insetBy(insetAmount, insetAmount));
}

Rectangle Rectangle::inset(graphics::CGFloat amount) const {
    Rectangle shape = *this;
    shape.insetAmount += amount;
    return shape;
}

} // namespace ui
