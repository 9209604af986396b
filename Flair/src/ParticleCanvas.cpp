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

ui::View particleTimeline(ui::ViewContext& ctx, const ParticleTimeline& t) {
    // The date of the entry last shown, kept by the simulation's view so that it outlives the
    // timeline it builds anew.
    const auto stepped = ctx.stateObject<std::optional<foundation::Date>>(
        "steppedDate", [] { return std::make_shared<std::optional<foundation::Date>>(); });
    // One canvas for every entry: it reads the particles as it draws, so an entry changes
    // nothing of the view below the timeline, which then has nothing to build or lay out again.
    const ui::View canvas(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false, t.render, t.symbols));
    const ui::AnimationTimelineSchedule schedule{std::nullopt, t.paused};
    const ui::EdgeInsets outward{-t.overhang.top, -t.overhang.leading, -t.overhang.bottom,
                                 -t.overhang.trailing};
    // A fresh timeline only notes its entry's date; each later entry steps the simulation by the
    // time since the one before, while the graph updates, so what the step changes is laid out
    // with the frame instead of in a second pass after it.
    return ui::View(
               ui::TimelineView(schedule,
                                [stepped, step = t.step, canvas](const ui::TimelineView::Context& context) {
                                    const std::optional<foundation::Date> before =
                                        std::exchange(*stepped, context.date);
                                    if (before && *before != context.date && step) {
                                        const double dt = clampedFrameInterval(context.date - *before);
                                        // As an action would: no transaction of the update, and no
                                        // animation.
                                        ui::withTransaction(ui::Transaction(), [&] {
                                            ui::withAnimation(std::nullopt, [&] { step(dt); });
                                        });
                                    }
                                    return canvas;
                                }))
        .padding(outward)
        .modifier(RelativeOffsetModifier{t.origin})
        .allowsHitTesting(false);
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
