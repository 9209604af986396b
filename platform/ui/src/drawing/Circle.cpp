#include "ui/Circle.h"

#include "graphics/CGFloat.h"

#include <algorithm>

namespace ui {

Path Circle::path(const graphics::CGRect& rect) const {
    const graphics::CGRect r = rect.insetBy(insetAmount, insetAmount);
    if (r.isNull()) return {};
    const graphics::CGFloat side = std::min(r.width(), r.height());
    return Path::ellipseIn({{r.midX() - side / 2, r.midY() - side / 2}, {side, side}});
}

} // namespace ui
