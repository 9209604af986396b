#pragma once

#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <vector>

namespace ViewKit {

enum class FlipDirection { left, right, up, down };

// A card showing its front, or its back while `isFlipped` holds, that turns over in depth when
// tapped (towards `tapDirection`) or swiped in one of `swipeDirections`. A turn is a half turn
// of the card over `flipDuration` seconds; halfway, edge-on, the face switches (so the binding
// changes as the turn starts, the face shown at half of it) and the content takes a quick half
// turn of its own, so the new face is not mirrored. Every turn is about the axis of
// `tapDirection`: the horizontal one for up and down, the vertical one for left and right.
// Setting `isFlipped` from outside switches the face without a turn.
struct FlipView {
    ui::Binding<bool> isFlipped;
    ui::View front;
    ui::View back;
    double flipDuration; // negative or NaN: 0
    std::vector<FlipDirection> swipeDirections;
    FlipDirection tapDirection;

    FlipView(ui::View front, ui::View back, ui::Binding<bool> isFlipped, double flipDuration,
             FlipDirection tapDirection, std::vector<FlipDirection> swipeDirections);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
