#pragma once

#include "ui/Color.h"

#include <QColor>

namespace ui {

// A colour as the animation engine moves it: linear-light sRGB components premultiplied by the
// opacity. Linear light keeps the midpoint of two colours as bright as their mix on screen, and
// premultiplying lets a colour fade in from clear without passing through black.
struct AnimatableColor {
    double red = 0, green = 0, blue = 0, opacity = 0;

    static AnimatableColor from(const Color::Resolved& resolved);
    static AnimatableColor from(const QColor& color);
    // Back to what a display shows (sRGB, clamped).
    QColor toQColor() const;

    static AnimatableColor zero() { return {}; }
    void scale(double by) {
        red *= by;
        green *= by;
        blue *= by;
        opacity *= by;
    }
    double magnitudeSquared() const { return red * red + green * green + blue * blue + opacity * opacity; }
    AnimatableColor& operator+=(const AnimatableColor& o) {
        red += o.red;
        green += o.green;
        blue += o.blue;
        opacity += o.opacity;
        return *this;
    }
    AnimatableColor& operator-=(const AnimatableColor& o) {
        red -= o.red;
        green -= o.green;
        blue -= o.blue;
        opacity -= o.opacity;
        return *this;
    }
    friend AnimatableColor operator+(AnimatableColor a, const AnimatableColor& b) { return a += b; }
    friend AnimatableColor operator-(AnimatableColor a, const AnimatableColor& b) { return a -= b; }
    bool operator==(const AnimatableColor&) const = default;
};

} // namespace ui
