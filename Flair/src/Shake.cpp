#include "Flair/AnyChangeEffect.h"
#include "Flair/ShakeSimulationModifier.h"

#include "ShakeTimeline.h"

namespace Flair {

Transform3DEffect ShakeSimulationModifier::effect(double displacement) {
    return Transform3DEffect({displacement, 0, -20}, displacement * 0.5 * 0.017453292519943295, {0, 1, 0},
                             {1, 1, 1}, ui::UnitPoint::center, -20, 1.0 / 6);
}

ui::View ShakeSimulationModifier::body(ui::ViewContext& ctx, ui::View content) const {
    return detail::shakeTimeline(ctx, std::move(content), impulseCount, phaseLength, 0, &effect);
}

AnyChangeEffect AnyChangeEffect::shake() {
    return shake(ShakeRate::default_());
}

AnyChangeEffect AnyChangeEffect::shake(ShakeRate rate) {
    return AnyChangeEffect([phaseLength = rate.seconds()](std::int64_t count) {
        return ShakeSimulationModifier{count, phaseLength};
    });
}

} // namespace Flair
