#pragma once

#include "graphics/CGSize.h"
#include "ui/Canvas.h"
#include "ui/Edge.h"
#include "ui/GraphicsContext.h"
#include "ui/State.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <string_view>
#include <utility>
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
// animation, by the time since the frame before limited to [0, 1/30] s. The date of the last
// frame is state of the simulation's view (`ctx`).
ui::View particleTimeline(ui::ViewContext& ctx, const ParticleTimeline& timeline);

// A frame interval limited to [0, 1/30] s; not a number gives 0.
double clampedFrameInterval(double seconds);

// The particle view's children, tagged 0, 1, 2, … as the canvas's symbols.
ui::View particleSymbols(const ui::View& particles);

// A simulation's particles, kept in its state `name`. The canvas reads them when it draws, so a
// step that only moves them on writes them in place: the view would come out the same, and the
// canvas draws anew every frame anyway. A step that removes some writes the state as any change
// does, and the view is evaluated again.
template <class Item> class LiveParticles {
public:
    LiveParticles(ui::ViewContext& ctx, std::string_view name)
        : state_(ctx.state<std::vector<Item>>(name, {}))
        , box_(ctx.element().slot<ui::detail::StateBox<std::vector<Item>>>(name, [] { return nullptr; })) {}

    const std::vector<Item>& operator*() const { return box_->value; }
    const ui::State<std::vector<Item>>& state() const { return state_; }

    template <class Step> void step(Step&& step) const {
        std::vector<Item> next = box_->value;
        std::forward<Step>(step)(next);
        if (next.size() == box_->value.size() && state_.isAlive())
            box_->value = std::move(next);
        else
            state_.set(std::move(next));
    }

private:
    ui::State<std::vector<Item>> state_;
    std::shared_ptr<ui::detail::StateBox<std::vector<Item>>> box_;
};

// The canvas's symbols 0, 1, 2, … up to the first one missing.
std::vector<ui::GraphicsContext::ResolvedSymbol> resolvedSymbols(const ui::GraphicsContext& ctx);

} // namespace Flair::detail
