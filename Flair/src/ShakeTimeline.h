#pragma once

#include "Flair/Transform3DEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair::detail {

// The body the shake and wiggle share: the content drawn through `effect(displacement)` of the
// view's ShakeSimulation, stepped per frame over `phaseLength` and kicked (adding `extra`) at
// each change of `impulseCount`.
ui::View shakeTimeline(ui::ViewContext& ctx, ui::View content, std::int64_t impulseCount, double phaseLength,
                       double extra, Transform3DEffect (*effect)(double displacement));

} // namespace Flair::detail
