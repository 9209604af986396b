#include "Flair/VanishTransition.h"

#include "Flair/OverrideDefaultAnimation.h"
#include "Flair/SeedHash.h"
#include "Flair/SeededRandomNumberGenerator.h"

#include "foundation/Random.h"
#include "graphics/CGRect.h"
#include "ui/Canvas.h"
#include "ui/ColorRenderingMode.h"
#include "ui/Path.h"
#include "ui/TintShapeStyle.h"
#include "ui/Transaction.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace Flair {

namespace {

constexpr double cell = 12;

double easeOutCubic(double x) {
    return std::pow(x - 1, 3) + 1;
}

} // namespace

void Vanish::drawDots(ui::GraphicsContext& ctx, graphics::CGSize size, const Vanish& vanish) {
    const double p = vanish.animatableData;
    if (p == 1) return;
    const graphics::CGRect area = graphics::CGRect{{0, 0}, size}.insetBy(28, 28);
    const double width = area.isNull() ? 0 : area.width(), height = area.isNull() ? 0 : area.height();
    const int columns = int(std::ceil(width / cell)), rows = int(std::ceil(height / cell));
    SeededRandomNumberGenerator random(seedHash(size.width));
    std::optional<ui::Path> mask;
    if (vanish.mask) mask = vanish.mask->path(area);
    const auto shading = ui::GraphicsContext::Shading::style(vanish.style);
    const auto R = [&](double lo, double hi) { return foundation::randomDouble(lo, hi, random); };
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const double dotSize = R(12, 27);
            // Half a cell before the area's edges, so the first column and row fall outside it.
            const graphics::CGPoint point{cell * i + area.minX() - cell / 2,
                                          cell * j + area.minY() - cell / 2};
            const bool inArea = area.contains(point);
            const bool inside = mask ? mask->contains(point, vanish.eoFill) : inArea;
            // A cell of the area takes its drift whether or not the mask keeps it, so a mask
            // inside the area leaves the dots it keeps as they are without it.
            if (!inside && !inArea) continue;
            const double jx = R(-36, 36);
            const double jy = R(-36, 36);
            if (!inside) continue;
            const double d = dotSize * p;
            const double o = (dotSize - d) / 2;
            const ui::Path dot = ui::Path::ellipseIn({{point.x + o - d / 2, point.y + o - d / 2}, {d, d}});
            const double shade = std::fmod(i / std::numbers::pi + double(j) * j / std::numbers::pi, 1);
            ctx.drawLayer([&](ui::GraphicsContext& layer) {
                layer.translateBy((1 - p) * jx, (1 - p) * jy);
                layer.setOpacity(p - 0.3 * shade);
                layer.fill(dot, shading);
                layer.addFilter(ui::GraphicsContext::Filter::blur(6 * p));
                layer.fill(dot, shading);
            });
        }
    }
}

double Vanish::blurRadius(double p) {
    return 6 * easeOutCubic(std::clamp(p / 14, 0.0, 1.0));
}

double Vanish::flareBrightness(double p, bool increasedBrightness) {
    return increasedBrightness ? 4.5 * easeOutCubic(std::clamp(p / 18, 0.0, 1.0)) : 0;
}

ui::View Vanish::body(ui::ViewContext&, ui::View content) const {
    const double p = animatableData;
    const ui::View dots =
        ui::View(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false,
                            [self = *this](ui::GraphicsContext& ctx, graphics::CGSize size) {
                                drawDots(ctx, size, self);
                            }))
            .blur(blurRadius(p), false)
            .brightness(flareBrightness(p, increasedBrightness))
            .padding(-overhang)
            .allowsHitTesting(false);
    return content.opacity(p == 1 ? 1 : 0).animation(std::nullopt, p).overlay(dots);
}

namespace AnyTransition::Ostravelle {

namespace {

ui::AnyTransition vanishTransition(Vanish rest) {
    Vanish absent = rest;
    rest.animatableData = 1;
    absent.animatableData = 0;
    return ui::AnyTransition::asymmetric(
        ui::AnyTransition::identity(),
        ui::AnyTransition::modifier(std::move(absent), std::move(rest)).transaction([](ui::Transaction& t) {
            overrideDefaultAnimation(t, vanishAnimation());
        }));
}

} // namespace

const ui::Animation& vanishAnimation() {
    static const ui::Animation animation = ui::Animation::easeOut(0.9);
    return animation;
}

ui::AnyTransition vanish() {
    return vanish(ui::AnyShapeStyle(ui::TintShapeStyle()), true);
}

ui::AnyTransition vanish(ui::AnyShapeStyle style, bool increasedBrightness) {
    return vanishTransition(Vanish{1, std::move(style), std::nullopt, true, increasedBrightness});
}

ui::AnyTransition vanish(ui::AnyShapeStyle style, ui::AnyShape mask, bool eoFill, bool increasedBrightness) {
    return vanishTransition(Vanish{1, std::move(style), std::move(mask), eoFill, increasedBrightness});
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
