#include "ui/Ellipse.h"

namespace ui {

Path Ellipse::path(const graphics::CGRect& rect) const {
    return Path::ellipseIn(rect.insetBy(insetAmount, insetAmount));
}

} // namespace ui
