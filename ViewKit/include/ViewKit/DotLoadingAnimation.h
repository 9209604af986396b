#pragma once

#include "ui/View.h"

#include <string>

namespace ViewKit {

// Dots that count up behind a label, one more each interval, then start again with none.
// The tick timer belongs to the view's identity: a new value with the same interval keeps the
// running timer and its phase; a changed interval starts a new one. A negative count shows no
// dots; an interval that is not finite or not above zero runs no timer.
struct DotLoadingAnimation {
    DotLoadingAnimation(int dotCount, double interval);

    int dotCount;
    double interval;

    // The dots for `currentDotCount` dots.
    static std::string dots(int currentDotCount);
    // The count after one tick.
    int nextDotCount(int currentDotCount) const;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
