#pragma once

#include "ui/Angle.h"
#include "ui/ColorMatrix.h"

#include <array>

namespace ui {

// One colour filter as plain numbers, so its amount can be animated: what the view modifiers
// (brightness, saturation, ...) and GraphicsContext::addFilter record.
struct ColorFilter {
    enum class Kind {
        brightness,       // amount: added to each colour channel
        contrast,         // amount: factor around middle grey
        saturation,       // amount: factor around the luminance
        hueRotation,      // amount: angle in radians
        colorMultiply,    // color: factors (gamma-encoded sRGB and opacity)
        colorInvert,      // no amount
        grayscale,        // amount: 0 unchanged to 1 grey
        luminanceToAlpha, // no amount
    };

    Kind kind = Kind::brightness;
    double amount = 0;
    std::array<double, 4> color{1, 1, 1, 1};

    static ColorFilter brightness(double amount) { return {Kind::brightness, amount}; }
    static ColorFilter contrast(double amount) { return {Kind::contrast, amount}; }
    static ColorFilter saturation(double amount) { return {Kind::saturation, amount}; }
    static ColorFilter hueRotation(Angle angle) { return {Kind::hueRotation, angle.radians()}; }
    static ColorFilter colorMultiply(std::array<double, 4> color) { return {Kind::colorMultiply, 0, color}; }
    static ColorFilter colorInvert() { return {Kind::colorInvert}; }
    static ColorFilter grayscale(double amount) { return {Kind::grayscale, amount}; }
    static ColorFilter luminanceToAlpha() { return {Kind::luminanceToAlpha}; }

    ColorMatrix matrix() const;

    bool operator==(const ColorFilter&) const = default;
};

} // namespace ui
