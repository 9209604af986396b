#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair {

// The jump change effect's modifier: each change of `impulseCount` asks the view's
// JumpSimulation for a jump whose first peak lies `targetHeight` points up; it runs frame by
// frame until it rests, drawn through SquishOffset.
struct JumpSimulationModifier {
    std::int64_t impulseCount = 0;
    // Points per second; 0 (no jump) for a height that gives none that is finite.
    double initialVelocity = 0;
    double targetHeight = 0;

    JumpSimulationModifier(std::int64_t impulseCount, double height);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const JumpSimulationModifier&) const = default;
};

} // namespace Flair
