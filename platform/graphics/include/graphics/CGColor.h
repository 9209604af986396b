#pragma once

#include "graphics/CGColorSpace.h"
#include "graphics/CGFloat.h"

#include <QColor>

#include <optional>
#include <span>
#include <vector>

namespace graphics {

// A colour as components of its space, alpha last. Components are always finite, alpha and the
// components of a non-extended space lie in [0, 1].
class CGColor {
public:
    // Nothing unless there is one component per colour channel plus alpha, all finite.
    // Out-of-range values are clamped as the space requires.
    static std::optional<CGColor> create(const CGColorSpace& space, std::span<const CGFloat> components);

    // The conveniences cannot fail: a NaN reads as 0, anything else is clamped.
    static CGColor sRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha = 1);
    // Generic gray with gamma 2.2.
    static CGColor gray(CGFloat white, CGFloat alpha = 1);
    // An invalid QColor becomes transparent black.
    static CGColor fromQColor(const QColor& color);

    const CGColorSpace& colorSpace() const { return space_; }
    // Alpha included, as the last element.
    const std::vector<CGFloat>& components() const { return components_; }
    CGFloat alpha() const { return components_.back(); }

    // Clamped; a NaN reads as 0.
    CGColor copyWithAlpha(CGFloat alpha) const;
    // The same colour, as near as `space` can hold it; alpha is kept.
    CGColor converted(const CGColorSpace& space) const;
    // sRGB, clamped to what a display shows.
    QColor toQColor() const;

    bool operator==(const CGColor&) const = default;

private:
    CGColor(const CGColorSpace& space, std::vector<CGFloat> components);

    CGColorSpace space_;
    std::vector<CGFloat> components_;
};

} // namespace graphics
