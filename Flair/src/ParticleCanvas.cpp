#include "ParticleCanvas.h"

#include "Flair/RelativeOffsetModifier.h"
#include "foundation/Date.h"
#include "ui/ColorRenderingMode.h"
#include "ui/GeometryEffect.h"
#include "ui/Group.h"
#include "ui/TimelineView.h"
#include "ui/Transaction.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace Flair::detail {

ui::View particleTimeline(ParticleTimeline t) {
    const ui::AnimationTimelineSchedule schedule{std::nullopt, t.paused};
    return ui::TimelineView(schedule, [t = std::move(t)](const ui::TimelineView::Context& context) {
        const foundation::Date built = context.date;
        const ui::EdgeInsets outward{-t.overhang.top, -t.overhang.leading, -t.overhang.bottom,
                                     -t.overhang.trailing};
        return ui::View(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false, t.render, t.symbols))
            .padding(outward)
            .modifier(RelativeOffsetModifier{t.origin})
            .allowsHitTesting(false)
            .onChange(built, [built, step = t.step](foundation::Date now) {
                const double dt = clampedFrameInterval(now - built);
                ui::withAnimation(std::nullopt, [&] { step(dt); });
            });
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
