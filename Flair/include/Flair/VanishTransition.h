#pragma once

#include "Flair/ProgressableAnimation.h"
#include "graphics/CGSize.h"
#include "ui/Animation.h"
#include "ui/AnyShape.h"
#include "ui/AnyShapeStyle.h"
#include "ui/AnyTransition.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <optional>

namespace Flair {

// The view hidden the moment its removal starts and replaced by a grid of dots in `style`
// over its area (or the part of it inside `mask`) that shrink, drift outward, fade and blur
// away, with a brightness flare when `increasedBrightness`.
struct Vanish {
    // How far the dots' canvas reaches past the view.
    static constexpr double overhang = 25;

    double animatableData = 0;
    ui::AnyShapeStyle style;
    std::optional<ui::AnyShape> mask;
    bool eoFill = true; // the mask's inside: even-odd when true, else non-zero winding
    bool increasedBrightness = true;

    // The dots at the modifier's progress on a canvas of `size`, from a stream seeded with its
    // width. Every cell draws its size, and every cell of the area its drift, whether or not its
    // dot is drawn, so a mask within the area leaves the dots it keeps as they were.
    static void drawDots(ui::GraphicsContext& ctx, graphics::CGSize size, const Vanish& vanish);
    // The blur over the dots and the flare's brightness.
    static double blurRadius(double progress);
    static double flareBrightness(double progress, bool increasedBrightness);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

template <> inline constexpr bool enableProgressableAnimation<Vanish> = true;

namespace AnyTransition::Ostravelle {

// What a removal under the default animation runs with.
const ui::Animation& vanishAnimation();

// Removed into dots of the tint, with the flare; inserted at once. A removal under the default
// animation takes vanishAnimation(); under any other it keeps its own.
ui::AnyTransition vanish();
ui::AnyTransition vanish(ui::AnyShapeStyle style, bool increasedBrightness);
// Only the dots inside `mask` (laid out over the view less 3 points on each side), by the
// even-odd rule when `eoFill`, else by winding.
ui::AnyTransition vanish(ui::AnyShapeStyle style, ui::AnyShape mask, bool eoFill, bool increasedBrightness);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
