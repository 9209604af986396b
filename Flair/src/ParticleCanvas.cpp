#include "ParticleCanvas.h"

#include "Flair/RelativeOffsetModifier.h"
#include "foundation/Date.h"
#include "ui/ColorRenderingMode.h"
#include "ui/GeometryEffect.h"
#include "ui/Group.h"
#include "ui/TimelineView.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace Flair::detail {

namespace {

// The canvas of one entry of the timeline. A fresh one only notes the entry's date; each later
// entry steps the simulation by the time since the one before, while the graph updates, so
// what the step changes is laid out with the frame instead of in a second pass after it.
struct ParticleFrame {
    foundation::Date date;
    std::shared_ptr<const ParticleTimeline> timeline;

    ui::View body(ui::ViewContext& ctx) const {
        const auto stepped = ctx.stateObject<std::optional<foundation::Date>>(
            "stepped", [] { return std::make_shared<std::optional<foundation::Date>>(); });
        const std::optional<foundation::Date> before = std::exchange(*stepped, date);
        if (before && *before != date && timeline->step) {
            const double dt = clampedFrameInterval(date - *before);
            // As an action would: no transaction of the update, and no animation.
            ui::withTransaction(ui::Transaction(),
                                [&] { ui::withAnimation(std::nullopt, [&] { timeline->step(dt); }); });
        }
        const ParticleTimeline& t = *timeline;
        const ui::EdgeInsets outward{-t.overhang.top, -t.overhang.leading, -t.overhang.bottom,
                                     -t.overhang.trailing};
        return ui::View(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false, t.render, t.symbols))
            .padding(outward)
            .modifier(RelativeOffsetModifier{t.origin})
            .allowsHitTesting(false);
    }
};

} // namespace

ui::View particleTimeline(ParticleTimeline t) {
    const ui::AnimationTimelineSchedule schedule{std::nullopt, t.paused};
    return ui::TimelineView(schedule, [t = std::make_shared<const ParticleTimeline>(std::move(t))](
                                          const ui::TimelineView::Context& context) {
        return ui::View(ParticleFrame{context.date, t});
    });
}

double clampedFrameInterval(double seconds) {
    const double dt = std::min(seconds, 1.0 / 30);
    return dt >= 0 ? dt : 0;
}

ui::View particleSymbols(const ui::View& particles) {
    std::vector<ui::View> tagged = particles.enumerateChildren();
    for (std::size_t i = 0; i < tagged.size(); ++i)
        tagged[i] = tagged[i].tag(int(i));
    return ui::Group(std::move(tagged));
}

std::vector<ui::GraphicsContext::ResolvedSymbol> resolvedSymbols(const ui::GraphicsContext& ctx) {
    std::vector<ui::GraphicsContext::ResolvedSymbol> symbols;
    while (auto symbol = ctx.resolveSymbol(int(symbols.size())))
        symbols.push_back(std::move(*symbol));
    return symbols;
}

} // namespace Flair::detail
