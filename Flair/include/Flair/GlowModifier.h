#pragma once

#include "ui/Color.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <array>

namespace Flair {

// The glows' ramp: the unit cubic Bezier through (0.3, 0) and (0.7, 1) at `amount`.
double glowRamp(double amount);

// Lights a view up in `color` for a glow amount (its animatable data; 0 is none): a wash of the
// colour over the view, a halo of four stacked shadows reaching about `radius` points at
// amount 1, and a little extra brightness. The view structure is the same at every amount, so
// the content keeps its state when a glow starts. Changes of the amount inside do not animate:
// it is animated from outside or stepped.
struct GlowModifier {
    struct Shadow {
        double opacity = 0; // of `color`
        double radius = 0;

        bool operator==(const Shadow&) const = default;
    };
    // What an amount draws.
    struct Look {
        double washOpacity = 0;        // of `color`, drawn source-atop over the view
        double washBrightness = 0;     // added to the wash
        std::array<Shadow, 4> shadows; // innermost first
        double brightness = 0;         // added over the whole

        bool operator==(const Look&) const = default;
    };

    double animatableData = 0;
    ui::Color color;
    double radius = 0;
    double (*ramp)(double) = glowRamp;

    // The amount drawn: limited to [0, 1.5], and 0 for one that is not a number.
    static double drawnAmount(double amount);
    Look look() const;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const GlowModifier&) const = default;
};

} // namespace Flair
