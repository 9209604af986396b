#include "ColorConversion.h"

#include <cmath>
#include <cstddef>

namespace graphics::detail {

namespace {

using Matrix = std::array<std::array<CGFloat, 3>, 3>;

// Both from the published primaries, both with the D65 white point (0.3127, 0.3290):
// sRGB red (0.64, 0.33), green (0.30, 0.60), blue (0.15, 0.06); Display P3 red (0.680, 0.320),
// green (0.265, 0.690), blue (0.150, 0.060). Each space's RGB-to-XYZ matrix is scaled so that
// (1, 1, 1) lands on the white point; P3 to sRGB is inverse(sRGB to XYZ) * (P3 to XYZ), worked out
// in exact fractions and rounded once.
constexpr Matrix displayP3ToSRGB{{
    {1.2249401762805598, -0.22494017628055996, 0},
    {-0.042056954709688163, 1.0420569547096881, 0},
    {-0.019637554590334432, -0.078636045550631889, 1.0982736001409663},
}};
constexpr Matrix sRGBToDisplayP3{{
    {0.82246196871436228, 0.17753803128563775, 0},
    {0.033194198850961622, 0.96680580114903836, 0},
    {0.017082630721120033, 0.072397440663963475, 0.91051992861491649},
}};
// The Y row of sRGB to XYZ: the luminance of linear sRGB, which is the gray it becomes.
constexpr std::array<CGFloat, 3> sRGBLuminance{0.21263900587151036, 0.71516867876775592,
                                               0.072192315360733714};

LinearRGB multiply(const Matrix& m, const LinearRGB& v) {
    LinearRGB result{};
    for (std::size_t row = 0; row < 3; ++row)
        result[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2];
    return result;
}

// Extended components mirror the curves below zero.
CGFloat mirrored(CGFloat value, CGFloat (*curve)(CGFloat)) {
    return value < 0 ? -curve(-value) : curve(value);
}

constexpr CGFloat sRGBDecodeKnee = 0.04045;
// The encoder's knee is the decoder's, mapped, so the two curves invert each other exactly
// rather than leaving a sliver where a round trip jumps between the pieces.
constexpr CGFloat sRGBEncodeKnee = sRGBDecodeKnee / 12.92;

CGFloat sRGBDecode(CGFloat v) {
    return v <= sRGBDecodeKnee ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

CGFloat sRGBEncode(CGFloat l) {
    return l <= sRGBEncodeKnee ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

CGFloat gammaDecode(CGFloat v) {
    return std::pow(v, 2.2);
}

CGFloat gammaEncode(CGFloat l) {
    return std::pow(l, 1 / 2.2);
}

CGFloat decode(TransferCurve curve, CGFloat value) {
    switch (curve) {
    case TransferCurve::sRGB:
        return mirrored(value, sRGBDecode);
    case TransferCurve::gamma2_2:
        return mirrored(value, gammaDecode);
    case TransferCurve::linear:
        break;
    }
    return value;
}

CGFloat encode(TransferCurve curve, CGFloat value) {
    switch (curve) {
    case TransferCurve::sRGB:
        return mirrored(value, sRGBEncode);
    case TransferCurve::gamma2_2:
        return mirrored(value, gammaEncode);
    case TransferCurve::linear:
        break;
    }
    return value;
}

} // namespace

LinearRGB toLinearSRGB(const ColorSpaceInfo& space, std::span<const CGFloat> components) {
    if (space.primaries == Primaries::gray) {
        const CGFloat gray = decode(space.curve, components[0]);
        return {gray, gray, gray};
    }
    LinearRGB rgb{};
    for (std::size_t i = 0; i < 3; ++i)
        rgb[i] = decode(space.curve, components[i]);
    if (space.primaries == Primaries::displayP3) return multiply(displayP3ToSRGB, rgb);
    return rgb;
}

std::vector<CGFloat> fromLinearSRGB(const ColorSpaceInfo& space, const LinearRGB& rgb) {
    if (space.primaries == Primaries::gray) {
        const CGFloat luminance =
            sRGBLuminance[0] * rgb[0] + sRGBLuminance[1] * rgb[1] + sRGBLuminance[2] * rgb[2];
        return {encode(space.curve, luminance)};
    }
    const LinearRGB target = space.primaries == Primaries::displayP3 ? multiply(sRGBToDisplayP3, rgb) : rgb;
    std::vector<CGFloat> result;
    result.reserve(3);
    for (CGFloat value : target)
        result.push_back(encode(space.curve, value));
    return result;
}

} // namespace graphics::detail
