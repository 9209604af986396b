#pragma once

#include "Flair/ProgressableAnimation.h"
#include "Flair/SeededRandomNumberGenerator.h"
#include "graphics/CGSize.h"
#include "ui/AnyShapeStyle.h"
#include "ui/AnyTransition.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The view springs up from nothing while a ring in `style` bursts outward round a growing
// hole, and twenty dots in `style` fly out radially behind it.
struct Pop {
    static constexpr int dotCount = 20;

    double animatableData = 0;
    ui::AnyShapeStyle style;
    double seed = 0; // of the dots' random stream

    // The view's scale: 0 up to progress 0.4, then growing to 1 − 2^−20 within a few hundredths.
    static double contentScale(double progress);
    // The scales of the ring's disc and of the hole cut out of it, and the ring's opacity.
    static double discScale(double progress);
    static double holeScale(double progress);
    static double ringOpacity(double progress);
    // The dots' progress: 0 up to a third of the way, 1 from two thirds on.
    static double dotProgress(double progress);
    // The dots at `progress` on a square canvas of `size` reaching 30 points past the view, drawn
    // from `random` (seeded with the modifier's seed). A pass ends at the first dot that has not
    // started or has faded out.
    static void drawDots(ui::GraphicsContext& ctx, graphics::CGSize size, double progress,
                         const ui::AnyShapeStyle& style, SeededRandomNumberGenerator& random);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Pop&) const = default;
};

template <> inline constexpr bool enableProgressableAnimation<Pop> = true;

namespace AnyTransition::Ostravelle {

// Inserted with a pop in the tint, over 1.2 s linear whatever the animation; removed at once.
ui::AnyTransition pop();
// The same in `style`.
ui::AnyTransition pop(ui::AnyShapeStyle style);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
