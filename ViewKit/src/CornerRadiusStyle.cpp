#include "ViewKit/CornerRadiusStyle.h"

#include "ViewKit/MainActor.h"

namespace ViewKit {

ViewOperation cornerRadius(CornerRadiusStyle style) {
    detail::requireMainActor("cornerRadius");
    return ViewOperation([style](const ui::View& view) { return view.cornerRadius(style.radius, true); });
}

} // namespace ViewKit
