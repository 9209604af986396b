#pragma once

#include "ViewKit/LinearProgressBarStyle.h"

#include "graphics/CGFloat.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace ViewKit {

// A progress fraction (1: full) as a capsule bar filling a capsule track from the leading
// edge, as wide as offered and as high as the environment's LinearProgressBarStyle says. It is
// one accessibility element; what lies inside is not exposed.
struct LinearProgressBar {
    using Style = LinearProgressBarStyle;

    double progress = 0;

    explicit LinearProgressBar(double progress)
        : progress(progress) {}

    // The bar's width in a control `width` wide: the room inside the padding times the
    // progress; 0 for a negative or NaN progress. Above 1 it overruns and the track clips it.
    static graphics::CGFloat barWidth(graphics::CGFloat width, double progress, double barPadding);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
