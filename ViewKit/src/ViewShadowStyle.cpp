#include "ViewKit/ViewShadowStyle.h"

#include "ViewKit/MainActor.h"

#include "ui/ViewConditional.h"

namespace ViewKit {

ViewOperation shadow(ViewShadowStyle style) {
    detail::requireMainActor("shadow");
    return ViewOperation([style](const ui::View& view) {
        // Without a colour the layer's own shadow colour applies.
        return ui::ConditionalContent(style.color.has_value(),
                                      view.shadow(style.color, style.radius, style.x, style.y),
                                      view.shadow(std::nullopt, style.radius, style.x, style.y));
    });
}

} // namespace ViewKit
