#pragma once

#include "graphics/CGSize.h"
#include "ui/Canvas.h"
#include "ui/Edge.h"
#include "ui/GraphicsContext.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"

#include <functional>
#include <vector>

// What the particle simulations (rise, spray) share: their canvas under a timeline.
namespace Flair::detail {

struct ParticleTimeline {
    bool paused = true;
    ui::EdgeInsets overhang; // how far the canvas reaches past the decorated view
    ui::UnitPoint origin;    // of the decorated view, where the canvas centres it
    ui::Canvas::Renderer render;
    ui::View symbols;
    std::function<void(double dt)> step; // one frame of dt seconds
};

// A canvas that ticks with the display unless paused; each frame steps the simulation without
// animation, by the time since the frame that built it limited to [0, 1/30] s.
ui::View particleTimeline(ParticleTimeline timeline);

// A frame interval limited to [0, 1/30] s; not a number gives 0.
double clampedFrameInterval(double seconds);

// The particle view's children, tagged 0, 1, 2, … as the canvas's symbols.
ui::View particleSymbols(const ui::View& particles);

// The canvas's symbols 0, 1, 2, … up to the first one missing.
std::vector<ui::GraphicsContext::ResolvedSymbol> resolvedSymbols(const ui::GraphicsContext& ctx);

} // namespace Flair::detail
