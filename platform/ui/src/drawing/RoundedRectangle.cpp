#include "ui/RoundedRectangle.h"

#include <algorithm>

namespace ui {

Path RoundedRectangle::path(const graphics::CGRect& rect) const {
    const graphics::CGRect r = rect.insetBy(insetAmount, insetAmount);
    if (r.isNull()) return {};
    const graphics::CGSize corner{std::max<graphics::CGFloat>(0, cornerSize.width - insetAmount),
                                  std::max<graphics::CGFloat>(0, cornerSize.height - insetAmount)};
    return Path::roundedRect(r, corner, style);
}

} // namespace ui
