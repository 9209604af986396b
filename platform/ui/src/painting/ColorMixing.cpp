#include "ColorStorage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace ui::detail {

namespace {

using Triple = std::array<double, 3>;

double sRGBEncode(double l) {
    const double magnitude = std::fabs(l);
    const double encoded =
        magnitude <= 0.0031308 ? magnitude * 12.92 : 1.055 * std::pow(magnitude, 1 / 2.4) - 0.055;
    return std::copysign(encoded, l);
}

double sRGBDecode(double v) {
    const double magnitude = std::fabs(v);
    const double decoded =
        magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
    return std::copysign(decoded, v);
}

// Oklab from linear sRGB, with Björn Ottosson's published matrices.
Triple toOklab(const Triple& rgb) {
    const double l = 0.4122214708 * rgb[0] + 0.5363325363 * rgb[1] + 0.0514459929 * rgb[2];
    const double m = 0.2119034982 * rgb[0] + 0.6806995451 * rgb[1] + 0.1073969566 * rgb[2];
    const double s = 0.0883024619 * rgb[0] + 0.2817188376 * rgb[1] + 0.6299787005 * rgb[2];
    const double l3 = std::cbrt(l), m3 = std::cbrt(m), s3 = std::cbrt(s);
    return {0.2104542553 * l3 + 0.7936177850 * m3 - 0.0040720468 * s3,
            1.9779984951 * l3 - 2.4285922050 * m3 + 0.4505937099 * s3,
            0.0259040371 * l3 + 0.7827717662 * m3 - 0.8086757660 * s3};
}

Triple fromOklab(const Triple& lab) {
    const double l3 = lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2];
    const double m3 = lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2];
    const double s3 = lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2];
    const double l = l3 * l3 * l3, m = m3 * m3 * m3, s = s3 * s3 * s3;
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

Triple toSpace(const Color::Resolved& c, GradientColorSpace space) {
    const Triple linear{c.linearRed, c.linearGreen, c.linearBlue};
    if (space == GradientColorSpace::perceptual) return toOklab(linear);
    return {sRGBEncode(linear[0]), sRGBEncode(linear[1]), sRGBEncode(linear[2])};
}

Triple fromSpace(const Triple& v, GradientColorSpace space) {
    if (space == GradientColorSpace::perceptual) return fromOklab(v);
    return {sRGBDecode(v[0]), sRGBDecode(v[1]), sRGBDecode(v[2])};
}

} // namespace

Color::Resolved mixResolved(const Color::Resolved& from, const Color::Resolved& to, double fraction,
                            GradientColorSpace colorSpace) {
    const double a0 = std::clamp(double(from.opacity), 0.0, 1.0);
    const double a1 = std::clamp(double(to.opacity), 0.0, 1.0);
    const double alpha = a0 + (a1 - a0) * fraction;
    const Triple c0 = toSpace(from, colorSpace);
    const Triple c1 = toSpace(to, colorSpace);
    Triple mixed{};
    for (std::size_t i = 0; i < 3; ++i) {
        // Premultiplied, so the colour of a transparent end does not show; with nothing opaque
        // left the plain blend keeps a sensible colour.
        mixed[i] = alpha > 0 ? (c0[i] * a0 + (c1[i] * a1 - c0[i] * a0) * fraction) / alpha
                             : c0[i] + (c1[i] - c0[i]) * fraction;
    }
    const Triple linear = fromSpace(mixed, colorSpace);
    Color::Resolved result;
    result.linearRed = float(linear[0]);
    result.linearGreen = float(linear[1]);
    result.linearBlue = float(linear[2]);
    result.opacity = float(alpha);
    return result;
}

} // namespace ui::detail
