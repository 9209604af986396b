#pragma once

#include "Flair/Transform3DEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair {

// The shake change effect's modifier: each change of `impulseCount` kicks the view's
// ShakeSimulation, which runs frame by frame, over `phaseLength` seconds, until it rests. The
// view sways sideways by the displacement and turns by half of it in degrees about y, seen in
// depth.
struct ShakeSimulationModifier {
    std::int64_t impulseCount = 0;
    double phaseLength = 0.8;

    // How the view is drawn at `displacement` points.
    static Transform3DEffect effect(double displacement);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const ShakeSimulationModifier&) const = default;
};

} // namespace Flair
