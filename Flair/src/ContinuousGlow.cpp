#include "Flair/AnyConditionalEffect.h"
#include "Flair/ContinuousGlowModifier.h"
#include "Flair/GlowModifier.h"

#include "AnimationRule.h"

namespace Flair {

ui::View ContinuousGlowModifier::body(ui::ViewContext&, ui::View content) const {
    const GlowModifier glow{isActive ? activeAmount : 0.0, color, radius, glowRamp};
    return detail::animatingOwnViews(
        std::move(content), [glow](ui::View c) { return c.modifier(glow); }, ui::Animation::easeInOut(0.25));
}

AnyConditionalEffect AnyConditionalEffect::glow() {
    return glow(ui::Color::accentColor, 16);
}

AnyConditionalEffect AnyConditionalEffect::glow(ui::Color color, double radius) {
    return AnyConditionalEffect(AnyContinuousEffect([color, radius](bool isActive) {
        return ContinuousGlowModifier{color, radius, isActive};
    }));
}

} // namespace Flair
