#include "Flair/ConditionalEffect.h"

#include "Flair/ContinuousEffectModifier.h"
#include "Flair/IsConditionalEffectKey.h"
#include "Flair/RepeatingChangeEffectModifier.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <variant>

namespace Flair {

namespace {

ui::View attached(const AnyContinuousEffect& effect, bool condition, ui::View content) {
    return content.modifier(ContinuousEffectModifier{effect, condition});
}

ui::View attached(const AnyConditionalEffect::Repeating& repeating, bool condition, ui::View content) {
    const double interval = repeating.interval;
    const double clamped = std::isnan(interval)
                               ? RepeatingChangeEffectModifier::minimumInterval
                               : std::max(interval, RepeatingChangeEffectModifier::minimumInterval);
    // Judged on the interval as given: 0, below 0 or not a number never ticks.
    const bool isEnabled = condition && interval > 0;
    return content.modifier(RepeatingChangeEffectModifier{repeating.effect, clamped, isEnabled});
}

} // namespace

ui::View ConditionalEffectModifier::body(ui::ViewContext&, ui::View content) const {
    ui::View view = std::visit(
        [&](const auto& guts) { return attached(guts, condition, std::move(content)); }, effect.guts());
    return view.environment<IsConditionalEffectKey>(true);
}

ConditionalEffectModifier conditionalEffect(AnyConditionalEffect effect, bool condition) {
    return {std::move(effect), condition};
}

} // namespace Flair
