#pragma once

#include <Qt>

namespace ui {

// How a path's inside is decided (even-odd or non-zero winding) and whether its edges are smoothed.
struct FillStyle {
    bool eoFill = false;
    bool antialiased = true;

    constexpr Qt::FillRule fillRule() const { return eoFill ? Qt::OddEvenFill : Qt::WindingFill; }

    constexpr bool operator==(const FillStyle&) const = default;
};

} // namespace ui
