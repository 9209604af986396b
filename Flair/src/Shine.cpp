#include "Flair/Shine.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/RotatedBoundingSize.h"
#include "ui/AnimatedCanvas.h"
#include "ui/BlendMode.h"
#include "ui/Color.h"
#include "ui/Gradient.h"
#include "ui/Path.h"

#include <array>
#include <cmath>
#include <vector>

namespace Flair {

namespace {

constexpr double defaultDuration = 1.0;

// Clear at both edges, brightest in the middle: sixteen stops along sin² over [0, π].
constexpr int stopCount = 16;
const std::array<double, stopCount>& stopShapes() {
    static const std::array<double, stopCount> shapes = [] {
        std::array<double, stopCount> s{};
        for (int i = 0; i < stopCount; ++i)
            s[i] = std::sin(0.2 * i) * std::sin(0.2 * i) * 0.8;
        return s;
    }();
    return shapes;
}

} // namespace

double ShineModifier::progress(double count) {
    return double(std::fmod(float(count), 1.0f));
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

void ShineModifier::drawBand(ui::GraphicsContext& ctx, graphics::CGSize size, std::optional<ui::Angle> angle,
                             double p) {
    // At rest the band is clear: nothing to draw.
    if (p == 0) return;
    const Band band = ShineModifier::band(size, angle, p);
    // The fade is folded into the stops (the same pixels as an opacity over the band), because an
    // opacity would composite the band on its own, away from the pixels it lights.
    std::vector<ui::Color> colors;
    colors.reserve(stopCount);
    for (const double shape : stopShapes())
        colors.push_back(ui::Color::white.opacity(shape * band.intensity * band.opacity));
    // Turned about the view's centre, lighting only what is drawn below it.
    ctx.setBlendMode(ui::BlendMode::sourceAtop);
    ctx.translateBy(size.width / 2, size.height / 2);
    ctx.rotate(ui::Angle::radians(band.angle));
    ctx.translateBy(-size.width / 2, -size.height / 2);
    const graphics::CGRect rect{{band.centre.x - band.size.width / 2, band.centre.y - band.size.height / 2},
                                band.size};
    ctx.fill(ui::Path(rect), ui::GraphicsContext::Shading::linearGradient(ui::Gradient(std::move(colors)),
                                                                          {rect.minX(), rect.midY()},
                                                                          {rect.maxX(), rect.midY()}));
}

ui::View ShineModifier::body(ui::ViewContext&, ui::View content) const {
    const auto draw = [angle = angle](ui::GraphicsContext& ctx, graphics::CGSize size, const double& count) {
        drawBand(ctx, size, angle, progress(count));
    };
    // Nothing of the content animates with the count.
    return content.animation(std::nullopt, count)
        .overlay(ui::View(ui::AnimatedCanvas<double>(count, draw)).allowsHitTesting(false))
        .compositingGroup();
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
