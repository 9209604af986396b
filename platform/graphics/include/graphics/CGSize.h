#pragma once

#include "graphics/CGFloat.h"

#include <QSizeF>

namespace graphics {

struct CGAffineTransform;

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;

    static const CGSize zero;

    // Without the translation; the result may have negative components, as a size can.
    CGSize applying(const CGAffineTransform& transform) const;

    constexpr QSizeF toQSizeF() const { return {width, height}; }
    static constexpr CGSize fromQSizeF(const QSizeF& size) { return {size.width(), size.height()}; }

    constexpr bool operator==(const CGSize&) const = default;
};

inline constexpr CGSize CGSize::zero{};

} // namespace graphics
