#pragma once

#include "Flair/AnyContinuousEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// Applies a continuous effect's modifier for the condition as it is at this evaluation; it keeps
// nothing between evaluations.
struct ContinuousEffectModifier {
    AnyContinuousEffect effect;
    bool isActive = false;

    ui::View body(ui::ViewContext&, ui::View content) const { return content.modifier(effect(isActive)); }
};

} // namespace Flair
