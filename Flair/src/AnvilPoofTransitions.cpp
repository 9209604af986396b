#include "Flair/AnvilPoofTransitions.h"

#include "Flair/ResourceBundleAccessor.h"
#include "Flair/SeedHash.h"
#include "Flair/SeededRandomNumberGenerator.h"
#include "TransitionSupport.h"

#include "foundation/Random.h"
#include "graphics/CGRect.h"
#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/ColorRenderingMode.h"
#include "ui/DisplayList.h"
#include "ui/Image.h"
#include "ui/Stack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace Flair {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double dropShare = 0.1;
constexpr double puffSize = 88;

// The library's image `name` as laid out in `ctx`, named after it in recordings; null content
// when the bundle lacks it.
ui::GraphicsContext::ResolvedImage bundleImage(const ui::GraphicsContext& ctx, const std::string& name) {
    ui::GraphicsContext::ResolvedImage image = ctx.resolve(ui::Image(name, moduleBundle()));
    if (image.content && image.content->isEmpty()) image.content.reset();
    image.label = name;
    return image;
}

// A value in [−1, 1] from one raw closed-range draw.
double signedUnit(SeededRandomNumberGenerator& random) {
    constexpr std::uint64_t steps = std::uint64_t(1) << 53;
    const std::uint64_t k = foundation::randomUInt64Below(steps + 1, random);
    return k == steps ? 1 : 2 * double(k) * 0x1p-53 - 1;
}

void drawPuffs(ui::GraphicsContext& ctx, const graphics::CGRect& area, int columns, double p,
               SeededRandomNumberGenerator& random) {
    const std::array images{bundleImage(ctx, "anvil_smoke_white"), bundleImage(ctx, "anvil_smoke_gray")};
    const double t = std::max(p - dropShare, 0.0) / (1 - dropShare);
    const double e = std::pow(t - 1, 3) + 1;
    const double lift = e * e * 50;
    const double s1 = 0.2 * t + 0.8;
    const double grow = 1 - std::exp2(-50 * t);
    const auto R = [&](double lo, double hi) { return foundation::randomDouble(lo, hi, random); };
    for (int i = 0; i < columns; ++i) {
        // A lone column would divide 0 by 0; it stands in the middle instead.
        const double f = columns == 1 ? 0.5 : double(i) / double(columns - 1);
        for (int puff = 0; puff < 2; ++puff) {
            const double x = area.minX() + 10 * i + R(-15, 15);
            const double y = area.maxY() + R(-5, 5);
            const double spread = (f - 0.5) * 80 * R(0.8, 1.2);
            const double rise = R(-10, 10) - lift;
            const double scale =
                grow * s1 * (R(0, 0.2) + 0.6 * (1 - std::pow(std::sin(f * pi), 0.4)) + 1) / 3;
            const double base = pi * signedUnit(random);
            const double tilt = 125 * (0.5 - f) * R(0.5, 1.0) * e * 1.5;
            const ui::Angle rotation = ui::Angle::radians(ui::Angle::degrees(tilt).radians() + base);
            ctx.drawLayer([&](ui::GraphicsContext& layer) {
                layer.translateBy(0, scale * puffSize * -0.9 * 0.5);
                layer.translateBy(spread * e, rise * e);
                layer.translateBy(x, y);
                layer.rotate(rotation);
                layer.scaleBy(scale, scale);
                layer.setOpacity((1 - t) * (1 - 0.5 * std::abs(f - 0.5)) * 0.8);
                if (p >= dropShare) layer.draw(images[i % 2], graphics::CGPoint{0, 0});
            });
        }
    }
}

void drawSparks(ui::GraphicsContext& ctx, const graphics::CGRect& area, double p,
                SeededRandomNumberGenerator& random) {
    const double s = std::clamp((p - 0.12) / (0.8 - 0.12), 0.0, 1.0);
    const double bell = 1 - (2 * s - 1) * (2 * s - 1);
    const auto R = [&](double lo, double hi) { return foundation::randomDouble(lo, hi, random); };
    for (int j = 0; j < 20; ++j) {
        const double xo = (j / 20.0 - 0.5) * 120 + R(-0.6 * area.width(), 0.6 * area.width());
        const double yo = R(-0.9 * area.height(), 0);
        ctx.drawLayer([&](ui::GraphicsContext& layer) {
            const double bx = R(area.minX(), area.maxX());
            const double k = ((1 - s) * 0.5 + 0.5) * R(2, 3);
            layer.translateBy(bx + xo * s, area.maxY() + bell * yo);
            layer.scaleBy(k, k);
            layer.setOpacity(std::pow(std::sin(s * pi), 0.2));
            const double white = R(0.75, 0.9);
            layer.fill(ui::Path::ellipseIn({{0, 0}, {1, 1}}),
                       ui::GraphicsContext::Shading::color(ui::Color(white, white, white)));
        });
    }
}

} // namespace

graphics::CGSize Anvil::dropOffset(double p) {
    return {0, p <= dropShare ? -400 * (1 - p / dropShare) : 0};
}

graphics::CGSize Anvil::shudderOffset(double p) {
    const double q = std::min(p - 0.01, 0.2);
    const double u = q < 0.1 ? 0 : (q - 0.1) / 0.1;
    return {(1 - u) * 2 * std::sin(3 * pi * u), (1 - u) * 4 * std::sin(4 * pi * u)};
}

void Anvil::drawSmoke(ui::GraphicsContext& ctx, graphics::CGSize size, double p) {
    if (p == 1) return;
    SeededRandomNumberGenerator random(seedHash(size.width));
    // The view's width, from 50 points above its top to its bottom edge.
    const graphics::CGRect area = graphics::CGRect{{0, 0}, size}.insetBy(130, 100);
    const double width = area.isNull() ? 0 : area.width();
    const int columns = int(std::ceil(width / 10));
    if (columns < 1) return;
    drawPuffs(ctx, area, columns, p, random);
    drawSparks(ctx, area, p, random);
}

ui::View Anvil::body(ui::ViewContext&, ui::View content) const {
    const double p = animatableData;
    const ui::View smoke =
        ui::View(
            ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false,
                       [p](ui::GraphicsContext& ctx, graphics::CGSize size) { drawSmoke(ctx, size, p); }))
            .padding(ui::EdgeInsets{-overhang.top, -overhang.leading, -overhang.bottom, -overhang.trailing})
            .allowsHitTesting(false);
    return content.offset(dropOffset(p)).animation(std::nullopt, p).offset(shudderOffset(p)).overlay(smoke);
}

int Poof::frameShown(double p) {
    const double m = std::round(6 * p);
    return m >= 1 && m <= frameCount ? int(6 - m) : 0;
}

ui::View Poof::body(ui::ViewContext&, ui::View content) const {
    const double p = animatableData;
    const int shown = frameShown(p);
    std::vector<ui::View> frames;
    for (int k = 1; k <= frameCount; ++k)
        frames.push_back(ui::View(ui::Image("poof" + std::to_string(k), moduleBundle()).resizable())
                             .frame(puffSize, puffSize)
                             .opacity(k == shown ? 1 : 0));
    return content.opacity(p == 1 ? 1 : 0)
        .overlay(ui::View(ui::ZStack(std::move(frames))).accessibilityHidden(true))
        .animation(std::nullopt, p);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition anvil() {
    return ui::AnyTransition::asymmetric(detail::progressTransition<Anvil>([](double p) { return Anvil{p}; }),
                                         ui::AnyTransition::identity())
        .animation(ui::Animation::linear(1.4));
}

ui::AnyTransition poof() {
    return ui::AnyTransition::asymmetric(ui::AnyTransition::identity(),
                                         detail::progressTransition<Poof>([](double p) {
                                             return Poof{p};
                                         }).animation(ui::Animation::linear(0.4)));
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
