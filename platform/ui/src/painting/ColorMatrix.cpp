#include "ui/ColorMatrix.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace ui {

namespace {

// Luminance weights of the sRGB primaries, rounded as the common filter definitions round them.
constexpr float lumR = 0.2126f, lumG = 0.7152f, lumB = 0.0722f;

ColorMatrix colorRows(const std::array<std::array<float, 3>, 3>& m) {
    ColorMatrix result;
    for (int c = 0; c < 3; ++c)
        result.rows[c] = {m[c][0], m[c][1], m[c][2], 0, 0};
    return result;
}

float finiteOr(double value, float fallback) {
    return std::isfinite(value) ? float(value) : fallback;
}

inline float clamp255(float v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

inline std::uint32_t packPremultiplied(float r, float g, float b, float a) {
    // Colour never exceeds coverage in premultiplied pixels.
    const float top = a;
    r = std::min(r, top);
    g = std::min(g, top);
    b = std::min(b, top);
    return (std::uint32_t(a + 0.5f) << 24) | (std::uint32_t(r + 0.5f) << 16) | (std::uint32_t(g + 0.5f) << 8) |
           std::uint32_t(b + 0.5f);
}

// Weights in pixel units (0 to 255), the offsets scaled with them.
struct Weights {
    float w[4][5];
    explicit Weights(const ColorMatrix& m, float colorScale = 1) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k)
                w[c][k] = m.rows[c][k] * (c < 3 ? colorScale : 1);
            w[c][4] = m.rows[c][4] * 255;
        }
    }
};

// The matrix on straight colour: unpremultiply, transform, clamp, premultiply.
void applyStraight(QImage& image, const ColorMatrix& matrix) {
    const Weights m(matrix);
    const auto& w = m.w;
    auto transform = [&](float r, float g, float b, float a) {
        const float o0 = clamp255(w[0][0] * r + w[0][1] * g + w[0][2] * b + w[0][3] * a + w[0][4]);
        const float o1 = clamp255(w[1][0] * r + w[1][1] * g + w[1][2] * b + w[1][3] * a + w[1][4]);
        const float o2 = clamp255(w[2][0] * r + w[2][1] * g + w[2][2] * b + w[2][3] * a + w[2][4]);
        const float o3 = clamp255(w[3][0] * r + w[3][1] * g + w[3][2] * b + w[3][3] * a + w[3][4]);
        const float s = o3 * (1.0f / 255);
        return packPremultiplied(o0 * s, o1 * s, o2 * s, o3);
    };
    // A transparent pixel has no colour of its own; what the matrix makes of clear black is the same
    // for all of them.
    const std::uint32_t clear = transform(0, 0, 0, 0);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = line[x];
            const std::uint32_t alpha = p >> 24;
            if (alpha == 0) {
                line[x] = clear;
                continue;
            }
            const float a = float(alpha);
            const float unpremultiply = 255.0f / a;
            line[x] = transform(float((p >> 16) & 0xff) * unpremultiply, float((p >> 8) & 0xff) * unpremultiply,
                                float(p & 0xff) * unpremultiply, a);
        }
    }
}

// Each colour keeps itself and adds a share of the pixel's alpha (a brightness on premultiplied
// colour): with whole-number colour that is a whole-number step per alpha, so a table of 256 steps
// per channel replaces the arithmetic. Empty when the matrix mixes anything else.
std::optional<std::array<std::array<int, 256>, 3>> alphaSteps(const float (&w)[4][5]) {
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 5; ++k) {
            const bool free = c < 3 && k == 3;
            const float wanted = k == c ? 1 : 0;
            if (!free && w[c][k] != wanted) return std::nullopt;
        }
    }
    std::array<std::array<int, 256>, 3> steps{};
    for (int c = 0; c < 3; ++c)
        for (int a = 0; a < 256; ++a)
            steps[c][a] = int(std::floor(std::clamp(w[c][3] * float(a), -512.0f, 512.0f) + 0.5f));
    return steps;
}

void addAlphaSteps(QImage& image, const std::array<std::array<int, 256>, 3>& steps) {
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = line[x];
            if (p == 0) continue;
            const int a = int(p >> 24);
            const auto channel = [&](int c, int shift) {
                return std::uint32_t(std::clamp(int((p >> shift) & 0xff) + steps[c][a], 0, a)) << shift;
            };
            line[x] = (p & 0xff000000u) | channel(0, 16) | channel(1, 8) | channel(2, 0);
        }
    }
}

// The matrix on premultiplied colour as it is: no division per pixel.
void applyPremultiplied(QImage& image, const ColorMatrix& matrix, float colorScale) {
    const Weights m(matrix, colorScale);
    const auto& w = m.w;
    if (const auto steps = alphaSteps(w)) {
        addAlphaSteps(image, *steps);
        return;
    }
    // Without offsets clear stays clear, and layers are mostly clear.
    const bool keepsClear = w[0][4] == 0 && w[1][4] == 0 && w[2][4] == 0 && w[3][4] == 0;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = line[x];
            if (p == 0 && keepsClear) continue;
            const float r = float((p >> 16) & 0xff), g = float((p >> 8) & 0xff), b = float(p & 0xff),
                        a = float(p >> 24);
            const float o3 = clamp255(w[3][0] * r + w[3][1] * g + w[3][2] * b + w[3][3] * a + w[3][4]);
            line[x] = packPremultiplied(clamp255(w[0][0] * r + w[0][1] * g + w[0][2] * b + w[0][3] * a + w[0][4]),
                                        clamp255(w[1][0] * r + w[1][1] * g + w[1][2] * b + w[1][3] * a + w[1][4]),
                                        clamp255(w[2][0] * r + w[2][1] * g + w[2][2] * b + w[2][3] * a + w[2][4]),
                                        o3);
        }
    }
}

// A straight matrix that mixes only the colour channels and scales alpha by k gives the same
// result on premultiplied colour with its colour rows scaled by k, a colour's offset then adding
// its share of the pixel's alpha (as a brightness does). Not for k > 1: alpha then clips at
// opaque while the scaled colour does not.
std::optional<float> premultipliedScale(const ColorMatrix& m) {
    const auto& alpha = m.rows[3];
    if (alpha[0] != 0 || alpha[1] != 0 || alpha[2] != 0 || alpha[4] != 0 || !(alpha[3] >= 0 && alpha[3] <= 1))
        return std::nullopt;
    for (int c = 0; c < 3; ++c)
        if (m.rows[c][3] != 0) return std::nullopt;
    return alpha[3];
}

// The same matrix on premultiplied colour: each colour's offset weighs the pixel's alpha.
ColorMatrix offsetsOnAlpha(ColorMatrix m) {
    for (int c = 0; c < 3; ++c) {
        m.rows[c][3] = m.rows[c][4];
        m.rows[c][4] = 0;
    }
    return m;
}

} // namespace

ColorMatrix ColorMatrix::brightness(double amount) {
    const float offset = finiteOr(amount, 0);
    ColorMatrix m;
    for (int c = 0; c < 3; ++c)
        m.rows[c][4] = offset;
    return m;
}

ColorMatrix ColorMatrix::contrast(double amount) {
    const float k = finiteOr(amount, 1);
    ColorMatrix m;
    for (int c = 0; c < 3; ++c) {
        m.rows[c][c] = k;
        m.rows[c][4] = 0.5f * (1 - k);
    }
    return m;
}

ColorMatrix ColorMatrix::saturation(double amount) {
    const float s = finiteOr(amount, 1);
    const float t = 1 - s;
    return colorRows({{{lumR * t + s, lumG * t, lumB * t},
                       {lumR * t, lumG * t + s, lumB * t},
                       {lumR * t, lumG * t, lumB * t + s}}});
}

ColorMatrix ColorMatrix::hueRotation(Angle angle) {
    const double radians = std::isfinite(angle.radians()) ? angle.radians() : 0;
    const float c = float(std::cos(radians)), s = float(std::sin(radians));
    // Rotation about the grey axis, with the hue plane spanned so luminance stays put.
    return colorRows({{{lumR + c * (1 - lumR) - s * lumR, lumG - c * lumG - s * lumG, lumB - c * lumB + s * (1 - lumB)},
                       {lumR - c * lumR + s * 0.143f, lumG + c * (1 - lumG) + s * 0.140f, lumB - c * lumB - s * 0.283f},
                       {lumR - c * lumR - s * (1 - lumR), lumG - c * lumG + s * lumG, lumB + c * (1 - lumB) + s * lumB}}});
}

ColorMatrix ColorMatrix::multiply(float red, float green, float blue, float opacity) {
    ColorMatrix m;
    const float factors[4] = {red, green, blue, opacity};
    for (int c = 0; c < 4; ++c)
        m.rows[c][c] = std::isfinite(factors[c]) ? std::max(0.0f, factors[c]) : 1;
    return m;
}

ColorMatrix ColorMatrix::invert() {
    ColorMatrix m;
    for (int c = 0; c < 3; ++c) {
        m.rows[c][c] = -1;
        m.rows[c][4] = 1;
    }
    return m;
}

ColorMatrix ColorMatrix::grayscale(double amount) {
    const double a = std::isfinite(amount) ? std::clamp(amount, 0.0, 1.0) : 0;
    return saturation(1 - a);
}

ColorMatrix ColorMatrix::luminanceToAlpha() {
    ColorMatrix m;
    for (int c = 0; c < 3; ++c)
        m.rows[c] = {0, 0, 0, 0, 0};
    m.rows[3] = {lumR, lumG, lumB, 0, 0};
    m.premultiplied = true;
    return m;
}

std::array<float, 4> ColorMatrix::apply(std::array<float, 4> in) const {
    if (premultiplied) {
        for (int c = 0; c < 3; ++c)
            in[c] *= in[3];
    }
    std::array<float, 4> out{};
    for (int c = 0; c < 4; ++c) {
        const auto& r = rows[c];
        out[c] = std::clamp(r[0] * in[0] + r[1] * in[1] + r[2] * in[2] + r[3] * in[3] + r[4], 0.0f, 1.0f);
    }
    if (premultiplied) {
        for (int c = 0; c < 3; ++c)
            out[c] = out[3] > 0 ? std::min(1.0f, out[c] / out[3]) : 0;
    }
    return out;
}

void applyColorMatrix(QImage& image, const ColorMatrix& matrix) {
    if (image.isNull() || matrix == ColorMatrix::identity()) return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (matrix.premultiplied) {
        applyPremultiplied(image, matrix, 1);
        return;
    }
    if (const auto scale = premultipliedScale(matrix)) {
        applyPremultiplied(image, offsetsOnAlpha(matrix), *scale);
        return;
    }
    applyStraight(image, matrix);
}

} // namespace ui
