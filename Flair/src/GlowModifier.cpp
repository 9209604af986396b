#include "Flair/GlowModifier.h"

#include "Flair/Easing.h"
#include "ui/BlendMode.h"
#include "ui/ShapeStyleEnvironment.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Flair {

double glowRamp(double amount) {
    return cubicBezier(amount, 0.3, 0.7, 0.0, 1.0);
}

double GlowModifier::drawnAmount(double amount) {
    if (std::isnan(amount)) return 0;
    return std::max(0.0, std::min(amount, 1.5));
}

GlowModifier::Look GlowModifier::look() const {
    const double a = drawnAmount(animatableData);
    // The ramp's solver stops a hair above 0 at 0; no glow must draw nothing.
    const double ramped = a > 0 ? ramp(a) : 0;
    const double s = std::sqrt(a);
    Look look;
    look.washOpacity = ramped;
    look.washBrightness = ramped * 0.1;
    look.shadows = {Shadow{s / 1.2, a * radius * 0.25}, Shadow{s * 0.25, a * radius * 0.5},
                    Shadow{s * 0.125, a * radius}, Shadow{s * 0.0625, a * radius * 2}};
    look.brightness = ramped * 0.25;
    return look;
}

ui::View GlowModifier::body(ui::ViewContext&, ui::View content) const {
    const Look shown = look();
    // Brightened before it is blended: a blend inside a filter would see only the filter's own
    // empty layer beneath.
    const ui::View wash = ui::View(color.opacity(shown.washOpacity))
                              .brightness(shown.washBrightness)
                              .blendMode(ui::BlendMode::sourceAtop)
                              .allowsHitTesting(false);
    ui::View glowing =
        content.environment<ui::BackgroundMaterialKey>(std::nullopt).overlay(wash).compositingGroup();
    for (const Shadow& shadow : shown.shadows)
        glowing = glowing.shadow(color.opacity(shadow.opacity), shadow.radius);
    return glowing.brightness(shown.brightness).animation(std::nullopt, drawnAmount(animatableData));
}

} // namespace Flair
