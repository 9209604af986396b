#include "ui/Rectangle.h"

namespace ui {

Path Rectangle::path(const graphics::CGRect& rect) const {
    return Path(rect.insetBy(insetAmount, insetAmount));
}

} // namespace ui
