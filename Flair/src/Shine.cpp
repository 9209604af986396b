#include "Flair/Shine.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/RotatedBoundingSize.h"
#include "ui/BlendMode.h"
#include "ui/Color.h"
#include "ui/GeometryReader.h"
#include "ui/Gradient.h"
#include "ui/Rectangle.h"

#include <cmath>
#include <vector>

namespace Flair {

namespace {

constexpr double defaultDuration = 1.0;

ui::View shineBand(graphics::CGSize size, std::optional<ui::Angle> angle, double p) {
    const ShineModifier::Band band = ShineModifier::band(size, angle, p);
    // Clear at both edges, brightest in the middle: sixteen stops along sin² over [0, π]. The
    // fade is folded into the stops (the same pixels as an opacity over the band), because an
    // opacity would composite the band on its own, away from the pixels it lights.
    std::vector<ui::Color> colors;
    for (int i = 0; i <= 15; ++i) {
        const double s = std::sin(0.2 * i);
        colors.push_back(ui::Color::white.opacity(s * s * 0.8 * band.intensity * band.opacity));
    }
    return ui::Rectangle()
        .fill(ui::LinearGradient(std::move(colors), ui::UnitPoint::leading, ui::UnitPoint::trailing))
        .frame(band.size.width, band.size.height)
        .position(band.centre)
        .rotationEffect(ui::Angle::radians(band.angle))
        .blendMode(ui::BlendMode::sourceAtop);
}

} // namespace

double ShineModifier::progress(double animatableData) {
    return double(std::fmod(float(animatableData), 1.0f));
}

ShineModifier::Band ShineModifier::band(graphics::CGSize size, std::optional<ui::Angle> angle, double p) {
    const double w = size.width, h = size.height;
    Band band;
    band.angle = angle ? angle->radians() : std::atan2(h, w);
    band.intensity = std::sin(p);
    const graphics::CGSize turned = rotatedBoundingSize(band.angle, w, h);
    const double minX = w / 2 - turned.width * 0.5;
    band.size = {2 * turned.width, turned.height};
    band.centre = {minX - turned.width * 0.5 + 2 * (turned.width * p), h / 2};
    band.opacity = 1 - std::pow(p, 8);
    return band;
}

ui::View ShineModifier::body(ui::ViewContext&, ui::View content) const {
    const double p = progress(animatableData);
    // At rest the band is clear: nothing to draw.
    const ui::View band = ui::GeometryReader([angle = angle, p](const ui::GeometryProxy& proxy) {
                              return p == 0 ? ui::View() : shineBand(proxy.size(), angle, p);
                          }).allowsHitTesting(false);
    return content.overlay(band).compositingGroup().animation(std::nullopt, p);
}

AnyChangeEffect AnyChangeEffect::shine() {
    return shine(defaultDuration);
}

AnyChangeEffect AnyChangeEffect::shine(double duration) {
    return AnyChangeEffect(
        [](std::int64_t count) {
            return ShineModifier{std::nullopt, double(count)};
        },
        ui::Animation::easeInOut(duration), duration * 0.5);
}

AnyChangeEffect AnyChangeEffect::shine(ui::Angle angle, double duration) {
    return AnyChangeEffect(
        [angle](std::int64_t count) {
            return ShineModifier{angle, double(count)};
        },
        ui::Animation::easeInOut(duration), duration * 0.5);
}

} // namespace Flair
