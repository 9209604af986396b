#pragma once

#include "ui/Angle.h"

#include <QImage>

#include <array>

namespace ui {

// A colour transform of 4 × 5 numbers: each output channel (red, green, blue, alpha, all in
// [0, 1]) is a weighted sum of the four input channels plus the offset in the fifth column.
// Results are clamped to [0, 1].
//
// Most matrices act on straight (not premultiplied) colour, as the factories' meanings are
// stated for it. Luminance to alpha acts on premultiplied colour instead, so a pixel's
// coverage carries into its new alpha and antialiased edges stay soft.
struct ColorMatrix {
    using Row = std::array<float, 5>;
    std::array<Row, 4> rows{Row{1, 0, 0, 0, 0}, Row{0, 1, 0, 0, 0}, Row{0, 0, 1, 0, 0}, Row{0, 0, 0, 1, 0}};
    bool premultiplied = false;

    static ColorMatrix identity() { return {}; }
    // Adds `amount` to red, green and blue; negative darkens.
    static ColorMatrix brightness(double amount);
    // Moves each channel away from (above 1) or towards (below 1) middle grey; 0 is all grey.
    static ColorMatrix contrast(double amount);
    // 1 keeps the colour, 0 leaves its luminance only, above 1 intensifies it.
    static ColorMatrix saturation(double amount);
    // Turns the hue around the luminance axis, keeping luminance.
    static ColorMatrix hueRotation(Angle angle);
    // Multiplies each channel by the colour's (gamma-encoded sRGB and opacity).
    static ColorMatrix multiply(float red, float green, float blue, float opacity);
    // Each colour channel becomes one minus itself; alpha stays.
    static ColorMatrix invert();
    // 0 keeps the colour, 1 is fully grey; the amount is limited to [0, 1].
    static ColorMatrix grayscale(double amount);
    // Black whose alpha is the colour's luminance.
    static ColorMatrix luminanceToAlpha();

    // Applies the matrix to one straight colour (r, g, b, a in [0, 1]).
    std::array<float, 4> apply(std::array<float, 4> straight) const;

    bool operator==(const ColorMatrix&) const = default;
};

// Applies `matrix` to every pixel of `image` in place. Works on premultiplied ARGB32; other
// formats are converted to it first.
void applyColorMatrix(QImage& image, const ColorMatrix& matrix);

} // namespace ui
