#pragma once

#include "Flair/AnyConditionalEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// Attaches a conditional effect and sets IsConditionalEffectKey for everything inside, the
// effect's own views and the content alike.
struct ConditionalEffectModifier {
    AnyConditionalEffect effect;
    bool condition = false;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

// Runs `effect` on the view while `condition` holds: view | Flair::conditionalEffect(e, isOn)
ConditionalEffectModifier conditionalEffect(AnyConditionalEffect effect, bool condition);

} // namespace Flair
