#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "ui/AnyShapeStyle.h"

namespace ViewKit {

// A border drawn over the view: a continuous rounded rectangle with corners of `cornerRadius`,
// stroked `lineWidth` wide just inside the view's bounds (never outside them), antialiased.
ViewOperation border(ui::AnyShapeStyle style, graphics::CGFloat lineWidth, graphics::CGFloat cornerRadius);

} // namespace ViewKit
