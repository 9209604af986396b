#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/Angle.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <optional>

namespace Flair {

// The shine effect: a soft white band swept once across the view's opaque pixels while the
// change count animates from one whole number to the next. Its fractional part p, taken in
// single precision, is the sweep's position; at rest (p = 0) nothing shows. The count animates
// in the band's drawing alone, so a sweep's frames only paint again.
struct ShineModifier {
    std::optional<ui::Angle> angle; // of the band; none: the view's diagonal
    double count = 0;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    // Where the band is for a view of `size` at sweep position p.
    struct Band {
        double angle = 0;         // radians, turned about the view's centre
        double intensity = 0;     // sin p: 0 at rest, about 0.84 at the end
        graphics::CGSize size;    // twice the width of the view's bounds turned by the angle
        graphics::CGPoint centre; // before the turn: w/2 + bw(2p − 1) across, the middle down
        double opacity = 1;       // 1 − p^8
    };
    static Band band(graphics::CGSize size, std::optional<ui::Angle> angle, double progress);
    // The sweep position of a presented count.
    static double progress(double count);
    // Draws the band over a view of `size` at sweep position p.
    static void drawBand(ui::GraphicsContext& ctx, graphics::CGSize size, std::optional<ui::Angle> angle,
                         double p);
};

} // namespace Flair
