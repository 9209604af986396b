#include "Flair/AnyConditionalEffect.h"
#include "Flair/PressDownEffectModifier.h"

#include "AnimationRule.h"

namespace Flair {

ui::View PressDownEffectModifier::body(ui::ViewContext&, ui::View content) const {
    const double scale = isActive ? pressedScale : 1.0;
    const ui::Animation spring = isActive ? ui::Animation::interactiveSpring(0.2, 0.4, 0.25)
                                          : ui::Animation::interactiveSpring(0.3, 0.4, 0.6);
    return detail::animatingOwnViews(
        std::move(content), [scale](ui::View c) { return c.scaleEffect(scale, ui::UnitPoint::center); },
        spring);
}

AnyConditionalEffect AnyConditionalEffect::pressDown() {
    return AnyConditionalEffect(
        AnyContinuousEffect([](bool isActive) { return PressDownEffectModifier{isActive}; }));
}

} // namespace Flair
