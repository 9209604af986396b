#pragma once

#include "Flair/Transform3DEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair {

// The wiggle change effect's modifier: as the shake, but the view turns in its own plane by half
// the displacement in degrees. Under a conditional effect (IsConditionalEffectKey) each kick
// lasts two phase lengths more.
struct WiggleSimulationModifier {
    std::int64_t impulseCount = 0;
    double phaseLength = 0.8;

    // How the view is drawn at `displacement`.
    static Transform3DEffect effect(double displacement);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const WiggleSimulationModifier&) const = default;
};

} // namespace Flair
