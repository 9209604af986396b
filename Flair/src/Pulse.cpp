#include "Flair/Pulse.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/ItemTimer.h"
#include "Flair/ParticleLayerAttachment.h"
#include "ui/AnyTransition.h"
#include "ui/Color.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/GeometryReader.h"
#include "ui/Stack.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

namespace Flair {

namespace {

constexpr double strokeDuration = 2.0;
constexpr double fillDuration = 4.0;

// The view's part of a pulse's life: nothing of it animates while the progress moves, and
// reaching 1 ends it. A pulse shown at 1 from the start (inserted without animation) ends at
// once, or its identifier would stay in the list for good.
ui::View pulseLife(const ui::View& view, double progress, const std::function<void()>& onCompletion) {
    return view.animation(std::nullopt, progress)
        .onChange(progress == 1.0, true, [onCompletion](bool, bool done) {
            if (done && onCompletion) onCompletion();
        });
}

struct PulseSettings {
    AnyInsettableShape shape;
    ui::AnyShapeStyle style;
    ParticleLayer layer;
    std::int64_t count;
    std::int64_t change;
    bool stroked;
};

// One pulse of the emitter: a clear copy of the shape that carries the pulse drawing through
// its insertion, from progress 0 to 1.
ui::View pulseView(const PulseSettings& s, const std::weak_ptr<ItemTimer>& owner, const foundation::UUID& id,
                   double insetAmount, double lineWidth) {
    const auto remove = [owner, id] {
        if (auto timer = owner.lock()) timer->remove(id);
    };
    const auto transition = [&](auto start, auto end) {
        return ui::AnyTransition::asymmetric(ui::AnyTransition::modifier(std::move(start), std::move(end)),
                                             ui::AnyTransition::identity());
    };
    const ui::View clear = s.shape.fill(ui::Color::clear);
    if (s.stroked)
        return clear.transition(transition(
            PulseStrokeAnimationModifier{0, s.shape, s.style, lineWidth, s.layer, insetAmount, {}},
            PulseStrokeAnimationModifier{1, s.shape, s.style, lineWidth, s.layer, insetAmount, remove}));
    return clear.transition(
        transition(PulseFillAnimationModifier{0, s.shape, s.style, s.layer, insetAmount, {}},
                   PulseFillAnimationModifier{1, s.shape, s.style, s.layer, insetAmount, remove}));
}

ui::View pulseEmitter(ui::ViewContext& ctx, const ui::View& content, PulseSettings s) {
    const auto timer = ctx.stateObject<ItemTimer>("timer", [] { return std::make_shared<ItemTimer>(); });
    const std::weak_ptr<ItemTimer> owner = timer;
    const std::vector<foundation::UUID> items = timer->items;
    ui::View pulses = ui::GeometryReader([s, owner, items](const ui::GeometryProxy& proxy) {
        // Always the stack, even empty: a pulse inserted along with a new stack would skip its
        // transition.
        const double side = std::min(proxy.size().width, proxy.size().height);
        const double insetAmount = 2 * side;
        const double lineWidth = std::max(2 * side / 25, 1.0);
        return ui::View(ui::ZStack({ui::ForEach(
                            items, [](const foundation::UUID& id) { return id; },
                            [s, owner, insetAmount, lineWidth](const foundation::UUID& id) {
                                return pulseView(s, owner, id, insetAmount, lineWidth);
                            })}))
            .compositingGroup();
    });
    if (s.stroked) pulses = pulses.allowsHitTesting(false);
    return content.background(pulses).onChange(s.change, [owner, count = s.count](std::int64_t) {
        if (auto timer = owner.lock()) timer->addPulses(count);
    });
}

} // namespace

PulseShapeAtProgress pulseShape(double progress) {
    constexpr double pi = std::numbers::pi;
    const double t = progress * pi * 0.5;
    const double e = (std::atan(5 * std::sin(t)) + pi / 2) / pi;
    const double fade = std::asin(std::min(t, 1.0));
    return {e - 0.5, std::sin(e * pi), std::max(0.0, 1.0 - fade), std::max(0.0, 0.33 - fade)};
}

ui::View PulseStrokeModifier::body(ui::ViewContext& ctx, ui::View content) const {
    return pulseEmitter(ctx, content, {shape, style, layer, count, change, true});
}

ui::View PulseFillModifier::body(ui::ViewContext& ctx, ui::View content) const {
    return pulseEmitter(ctx, content, {shape, style, layer, count, change, false});
}

ui::View PulseStrokeAnimationModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const bool dark = ctx.environment<ui::ColorSchemeKey>() == ui::ColorScheme::dark;
    const PulseShapeAtProgress now = pulseShape(animatableData);
    const double width = now.thickness * lineWidth;
    // Once faded out it stays so: nothing to draw, nor to attach, for the rest of its life.
    if (now.strokeOpacity == 0) return pulseLife(content, animatableData, onCompletion);
    const ui::View pulse = shape.inset(-insetAmount * now.growth)
                               .strokeBorder(style, width, true)
                               .opacity(now.strokeOpacity)
                               .blur(width * 0.125, false)
                               .brightness(dark ? now.thickness * 0.75 : 0);
    return pulseLife(content.modifier(particleLayerOverlay(ui::Alignment::center, layer, true, pulse)),
                     animatableData, onCompletion);
}

ui::View PulseFillAnimationModifier::body(ui::ViewContext&, ui::View content) const {
    const PulseShapeAtProgress now = pulseShape(animatableData);
    if (now.fillOpacity == 0) return pulseLife(content, animatableData, onCompletion);
    const ui::View pulse = shape.inset(-insetAmount * now.growth).fill(style).opacity(now.fillOpacity);
    return pulseLife(content.modifier(particleLayerBackground(ui::Alignment::center, layer, true, pulse)),
                     animatableData, onCompletion);
}

AnyChangeEffect AnyChangeEffect::pulse(AnyInsettableShape shape, ui::AnyShapeStyle style,
                                       PulseDrawingMode drawingMode, std::int64_t count,
                                       ParticleLayer layer) {
    const std::int64_t n = std::max<std::int64_t>(count, 1);
    const double cooldown = double(n - 1) * ItemTimer::burstInterval;
    if (drawingMode == PulseDrawingMode::stroke)
        return AnyChangeEffect(
            [shape, style, layer, n](std::int64_t change) {
                return PulseStrokeModifier{shape, style, layer, n, change};
            },
            ui::Animation::linear(strokeDuration), cooldown);
    return AnyChangeEffect(
        [shape, style, layer, n](std::int64_t change) {
            return PulseFillModifier{shape, style, layer, n, change};
        },
        ui::Animation::linear(fillDuration), cooldown);
}

AnyChangeEffect AnyChangeEffect::pulse(AnyInsettableShape shape, ui::AnyShapeStyle style,
                                       std::int64_t count) {
    return pulse(std::move(shape), std::move(style), PulseDrawingMode::fill, count, ParticleLayer::local);
}

} // namespace Flair
