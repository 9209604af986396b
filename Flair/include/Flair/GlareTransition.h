#pragma once

#include "graphics/CGSize.h"
#include "ui/Angle.h"
#include "ui/AnyTransition.h"
#include "ui/Color.h"
#include "ui/Gradient.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <vector>

namespace Flair {

// The view wiped in along `angle` behind a hard front, with a band of `color` running just
// behind the front over the view's own pixels, brightened while the progress is small when
// `increasedBrightness`.
struct Glare {
    double animatableData = 0;
    ui::Angle angle;
    ui::Color color = ui::Color::white;
    bool increasedBrightness = true;

    // The mask's gradient stops: black behind the front at 1.6 p, clear ahead of it.
    static std::vector<ui::Gradient::Stop> maskStops(double progress);
    // The band's stops: `color` from p to 1.6 p, transparent elsewhere.
    static std::vector<ui::Gradient::Stop> bandStops(double progress, const ui::Color& color);
    static double bandBrightness(double progress, bool increasedBrightness);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Glare&) const = default;
};

namespace AnyTransition::Ostravelle {

// A white glare at 45°, brightened.
ui::AnyTransition glare();
ui::AnyTransition glare(ui::Angle angle, ui::Color color, bool increasedBrightness);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
