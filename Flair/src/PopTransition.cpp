#include "Flair/PopTransition.h"

#include "Flair/SeedHash.h"
#include "TransitionSupport.h"

#include "foundation/Random.h"
#include "foundation/SystemRandomNumberGenerator.h"
#include "ui/BlendMode.h"
#include "ui/Canvas.h"
#include "ui/Circle.h"
#include "ui/Color.h"
#include "ui/ColorRenderingMode.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TintShapeStyle.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace Flair {

double Pop::contentScale(double p) {
    const double a = std::min((p - 0.4) * 2, 1.0);
    return a >= 0 ? 1 - std::exp2(-20 * a) : 0;
}

double Pop::discScale(double p) {
    return 1 - std::exp2(-14 * std::clamp(1.5 * p, 0.0, 1.0));
}

double Pop::holeScale(double p) {
    return 1 - std::exp2(-14 * std::clamp(1.5 * (p - 0.15), 0.0, 1.0));
}

double Pop::ringOpacity(double p) {
    const double r1 = std::clamp(1.5 * p, 0.0, 1.0);
    return std::clamp(1 - std::pow(1.3, -20 * (1 - r1)), 0.0, 1.0);
}

double Pop::dotProgress(double p) {
    return std::clamp((p - 1.0 / 3) * 2, 0.0, 1.0);
}

void Pop::drawDots(ui::GraphicsContext& ctx, graphics::CGSize size, double progress,
                   const ui::AnyShapeStyle& style, SeededRandomNumberGenerator& random) {
    const double q = dotProgress(progress);
    if (q == 0) return;
    const double w = size.width, h = size.height;
    const double reach = std::min(w, h) - 22;
    const auto R = [&](double lo, double hi) { return foundation::randomDouble(lo, hi, random); };
    const ui::Path dot = ui::Path::ellipseIn({{-1.5, -1.5}, {3, 3}});
    for (int i = 0; i < dotCount; ++i) {
        // Each dot runs on its own clock: a fast one starts late, a slow one early. Multiplied
        // out, so that it is exactly 1 at the end and every dot has then faded.
        const double speed = R(0.95, 1.1);
        const double v = std::clamp(speed * q - (speed - 1), 0.0, 1.0);
        if (v <= 0) return;
        const double envelope = v < 0.5 ? 1 - std::exp2(-20 * v) : 1 - std::exp2(10 * (v - 1));
        if (envelope <= 0) return;
        const double jitter = R(-2, 2);
        const double scale = (std::pow((1 - v) - 1, 3) + 1) * R(0.8, 1.4);
        ctx.drawLayer([&](ui::GraphicsContext& layer) {
            layer.translateBy(w / 2, h / 2);
            layer.rotate(ui::Angle::degrees(double(i) / dotCount * 360 + R(-5, 5)));
            layer.translateBy(0, (reach / 2 + jitter) * (std::pow(v - 1, 3) + 1));
            layer.scaleBy(scale, scale);
            layer.setOpacity(std::clamp(envelope, 0.0, 1.0));
            layer.addFilter(ui::GraphicsContext::Filter::hueRotation(ui::Angle::degrees(R(-25, 25))));
            layer.fill(dot, ui::GraphicsContext::Shading::style(style));
        });
    }
}

ui::View Pop::body(ui::ViewContext&, ui::View content) const {
    const double p = animatableData;
    const ui::View ring = ui::View(ui::ZStack({ui::View(ui::Circle().fill(style)).scaleEffect(discScale(p)),
                                               ui::View(ui::Circle().fill(ui::Color::white))
                                                   .scaleEffect(holeScale(p))
                                                   .blendMode(ui::BlendMode::destinationOut)}))
                              .compositingGroup()
                              .opacity(ringOpacity(p))
                              .padding(-8)
                              .allowsHitTesting(false);
    // One stream per evaluation, which the canvas draws from.
    auto random = std::make_shared<SeededRandomNumberGenerator>(seedHash(seed));
    const ui::View dots =
        ui::View(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false,
                            [p, style = style, random](ui::GraphicsContext& ctx, graphics::CGSize size) {
                                drawDots(ctx, size, p, style, *random);
                            }))
            .padding(-30)
            .aspectRatio(1, ui::ContentMode::fit)
            .allowsHitTesting(false);
    return content.scaleEffect(contentScale(p)).overlay(ring).background(dots).animation(std::nullopt, p);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition pop() {
    return pop(ui::AnyShapeStyle(ui::TintShapeStyle()));
}

ui::AnyTransition pop(ui::AnyShapeStyle style) {
    foundation::SystemRandomNumberGenerator system;
    const double a = foundation::randomDouble(0, 255, system);
    const double b = foundation::randomDouble(0, 255, system);
    return ui::AnyTransition::asymmetric(
        ui::AnyTransition::modifier(Pop{0, style, a}, Pop{1, style, b}).animation(ui::Animation::linear(1.2)),
        ui::AnyTransition::identity());
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
