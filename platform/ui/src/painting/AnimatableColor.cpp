#include "ui/AnimatableColor.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

double toLinear(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double toEncoded(double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

} // namespace

AnimatableColor AnimatableColor::from(const Color::Resolved& resolved) {
    const double a = std::clamp(double(resolved.opacity), 0.0, 1.0);
    return {resolved.linearRed * a, resolved.linearGreen * a, resolved.linearBlue * a, a};
}

AnimatableColor AnimatableColor::from(const QColor& color) {
    const QColor rgb = color.toRgb();
    const double a = rgb.alphaF();
    return {toLinear(rgb.redF()) * a, toLinear(rgb.greenF()) * a, toLinear(rgb.blueF()) * a, a};
}

QColor AnimatableColor::toQColor() const {
    // A spring may carry the opacity past its ends; what shows stays a colour.
    const double a = std::clamp(opacity, 0.0, 1.0);
    if (a <= 0) return QColor(0, 0, 0, 0);
    return QColor::fromRgbF(float(toEncoded(red / opacity)), float(toEncoded(green / opacity)),
                            float(toEncoded(blue / opacity)), float(a));
}

} // namespace ui
