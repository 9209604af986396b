#pragma once

#include "ui/View.h"

#include <cstdint>
#include <functional>

namespace Flair::detail {

// How a simulated effect reaches its view: `content` (already drawn with the simulation's
// present values) under a timeline that runs only while `isRunning`, stepping the simulation
// once per frame with that frame's interval (frameInterval); and a kick whenever
// `impulseCount` changes. Steps and kicks run without animation, so no ambient animation
// blends simulated values. The structure never changes, so the content keeps its state.
ui::View simulationTimeline(ui::View content, bool isRunning, std::int64_t impulseCount,
                            std::function<void(double dt)> step, std::function<void()> impulse);

} // namespace Flair::detail
