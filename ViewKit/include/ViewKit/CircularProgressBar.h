#pragma once

#include "ViewKit/CircularProgressBarStyle.h"

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <string>

namespace ViewKit {

// A progress fraction (1: complete) as an arc over a ring on a filled disc, with the
// percentage in the middle; it looks as the environment's CircularProgressBarStyle says.
// The arc takes the raw fraction, so one above 1 is a full ring.
struct CircularProgressBar {
    using Style = CircularProgressBarStyle;

    double progress = 0;

    explicit CircularProgressBar(double progress)
        : progress(progress) {}

    // The title for `progress`: the percentage within 0…100 with `decimals` digits after the
    // point, then "%". A NaN progress reads as 0.
    static std::string title(double progress, int decimals);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
