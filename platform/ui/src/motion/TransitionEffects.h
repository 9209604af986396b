#pragma once

#include "ui/AnyTransition.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"

#include <optional>

// The built-in effects the library's transitions are made of.
namespace ui::detail {

// Moves the content by fractions of its own size; x runs towards the trailing edge.
View relativeOffset(View content, CGFloat x, CGFloat y);
// Paints the content scaled by `scale` about `anchor` of its frame; its layout is unchanged.
View scaledPainting(View content, double scale, UnitPoint anchor);
// The transition `view` carries outside its content (through modifiers around it), if any.
std::optional<AnyTransition> transitionOf(const View& view);

} // namespace ui::detail
