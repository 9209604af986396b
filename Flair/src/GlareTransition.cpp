#include "Flair/GlareTransition.h"

#include "Flair/RotatedBoundingSize.h"
#include "TransitionSupport.h"

#include "ui/BlendMode.h"
#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"

#include <algorithm>
#include <functional>
#include <numbers>
#include <optional>

namespace Flair {

std::vector<ui::Gradient::Stop> Glare::maskStops(double progress) {
    const double q = 1.6 * progress;
    return {{ui::Color::black, -1}, {ui::Color::black, q}, {ui::Color::clear, q}, {ui::Color::clear, 2}};
}

std::vector<ui::Gradient::Stop> Glare::bandStops(double p, const ui::Color& color) {
    const double q = 1.6 * p;
    const ui::Color t = color.opacity(0);
    return {{t, -1}, {t, p}, {color, p + 0.01}, {color, q + 0.01}, {t, q + 0.02}, {t, 2}};
}

double Glare::bandBrightness(double progress, bool increasedBrightness) {
    if (!increasedBrightness) return 0;
    const double rest = std::clamp(1 - progress, 0.0, 1.0);
    return 4 * rest * rest * rest;
}

namespace {

// A gradient rectangle covering a view of `size` at `angle`, its gradient running along it;
// `finish` adds what goes between the rotation and the animation guards.
ui::View layer(const std::vector<ui::Gradient::Stop>& stops, graphics::CGSize size, ui::Angle angle, double p,
               const std::function<ui::View(ui::View)>& finish) {
    const graphics::CGSize cover = rotatedBoundingSize(angle.radians(), size.width, size.height);
    const ui::View rect =
        ui::Rectangle()
            .fill(ui::LinearGradient(stops, ui::UnitPoint::leading, ui::UnitPoint::trailing))
            .frame(cover.width, cover.height)
            .position({size.width / 2, size.height / 2})
            .rotationEffect(angle);
    return finish(rect).animation(std::nullopt, p).animation(std::nullopt, angle);
}

} // namespace

ui::View Glare::body(ui::ViewContext&, ui::View content) const {
    const Glare g = *this;
    ui::GeometryReader mask([g](const ui::GeometryProxy& proxy) {
        return layer(maskStops(g.animatableData), proxy.size(), g.angle, g.animatableData,
                     [](ui::View v) { return v; });
    });
    ui::GeometryReader band([g](const ui::GeometryProxy& proxy) {
        return layer(bandStops(g.animatableData, g.color), proxy.size(), g.angle, g.animatableData,
                     [&](ui::View v) {
                         return v.brightness(bandBrightness(g.animatableData, g.increasedBrightness))
                             .blendMode(ui::BlendMode::sourceAtop)
                             .allowsHitTesting(false);
                     });
    });
    // Blend modes composite onto the nearest group: grouped with the masked view, the band lights
    // only the view's own revealed pixels, not what lies behind it or just ahead of the front.
    return content.mask(mask).overlay(band).compositingGroup();
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition glare() {
    return glare(ui::Angle::radians(std::numbers::pi / 4), ui::Color::white, true);
}

ui::AnyTransition glare(ui::Angle angle, ui::Color color, bool increasedBrightness) {
    return ui::AnyTransition::modifier(Glare{0, angle, color, increasedBrightness},
                                       Glare{1, angle, color, increasedBrightness});
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
