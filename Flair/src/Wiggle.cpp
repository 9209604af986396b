#include "Flair/AnyChangeEffect.h"
#include "Flair/IsConditionalEffectKey.h"
#include "Flair/WiggleSimulationModifier.h"

#include "ShakeTimeline.h"

namespace Flair {

namespace {

// Under a conditional effect a kick lasts two phase lengths more.
constexpr double conditionalExtra = 4;

} // namespace

Transform3DEffect WiggleSimulationModifier::effect(double displacement) {
    return Transform3DEffect({0, 0, 0}, displacement * 0.5 * 0.017453292519943295, {0, 0, 1}, {1, 1, 1},
                             ui::UnitPoint::center, 0, 1);
}

ui::View WiggleSimulationModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const double extra = ctx.environment<IsConditionalEffectKey>() ? conditionalExtra : 0;
    return detail::shakeTimeline(ctx, std::move(content), impulseCount, phaseLength, extra, &effect);
}

AnyChangeEffect AnyChangeEffect::wiggle() {
    return wiggle(WiggleRate::default_());
}

AnyChangeEffect AnyChangeEffect::wiggle(WiggleRate rate) {
    return AnyChangeEffect([phaseLength = rate.seconds()](std::int64_t count) {
        return WiggleSimulationModifier{count, phaseLength};
    });
}

} // namespace Flair
