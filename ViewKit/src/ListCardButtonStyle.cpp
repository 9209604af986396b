#include "ViewKit/ListCardButtonStyle.h"

#include "ViewKit/MainActor.h"

namespace ViewKit {

ListCardButtonStyle::ListCardButtonStyle(std::optional<ui::Animation> animation, std::optional<double> pressedScale)
    : animation(std::move(animation))
    , pressedScale(pressedScale.value_or(0.98)) {
    detail::requireMainActor("ListCardButtonStyle");
}

ui::View ListCardButtonStyle::makeBody(const ui::ButtonStyleConfiguration& configuration) const {
    detail::requireMainActor("ListCardButtonStyle");
    const double scale = configuration.isPressed ? pressedScale : 1.0;
    return configuration.label.scaleEffect(scale).animation(animation, configuration.isPressed);
}

} // namespace ViewKit
