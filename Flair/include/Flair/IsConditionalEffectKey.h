#pragma once

namespace Flair {

// The environment flag set inside a view with a conditional effect, of either kind, whatever
// the condition; effects that play differently there read it:
//     ctx.environment<Flair::IsConditionalEffectKey>()
struct IsConditionalEffectKey {
    using Value = bool;
    static Value defaultValue() { return false; }
};

} // namespace Flair
