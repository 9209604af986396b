#include "ui/Capsule.h"

#include <algorithm>

namespace ui {

Path Capsule::path(const graphics::CGRect& rect) const {
    const graphics::CGRect r = rect.insetBy(insetAmount, insetAmount);
    if (r.isNull()) return {};
    return Path::roundedRect(r, std::min(r.width(), r.height()) / 2);
}

} // namespace ui
