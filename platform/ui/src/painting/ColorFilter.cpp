#include "ui/ColorFilter.h"

namespace ui {

ColorMatrix ColorFilter::matrix() const {
    switch (kind) {
    case Kind::brightness: return ColorMatrix::brightness(amount);
    case Kind::contrast: return ColorMatrix::contrast(amount);
    case Kind::saturation: return ColorMatrix::saturation(amount);
    case Kind::hueRotation: return ColorMatrix::hueRotation(Angle::radians(amount));
    case Kind::colorMultiply:
        return ColorMatrix::multiply(float(color[0]), float(color[1]), float(color[2]), float(color[3]));
    case Kind::colorInvert: return ColorMatrix::invert();
    case Kind::grayscale: return ColorMatrix::grayscale(amount);
    case Kind::luminanceToAlpha: return ColorMatrix::luminanceToAlpha();
    }
    return ColorMatrix::identity();
}

} // namespace ui
