#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

namespace ViewKit {

// A rectangle whose four corners each have a radius of their own. Each radius is kept between 0
// and half the shorter side (a negative or NaN one counts as 0), so the outline never crosses
// itself. The outline starts in the middle of the top edge and runs clockwise on screen. A
// change of a radius is not animated: the shape takes the new radii at once.
struct CustomRoundedRectangle : ui::Shape<CustomRoundedRectangle> {
    graphics::CGFloat topLeft = 0;
    graphics::CGFloat topRight = 0;
    graphics::CGFloat bottomLeft = 0;
    graphics::CGFloat bottomRight = 0;

    CustomRoundedRectangle(graphics::CGFloat topLeft, graphics::CGFloat topRight, graphics::CGFloat bottomLeft,
                           graphics::CGFloat bottomRight)
        : topLeft(topLeft)
        , topRight(topRight)
        , bottomLeft(bottomLeft)
        , bottomRight(bottomRight) {}

    ui::Path path(const graphics::CGRect& rect) const;

    bool operator==(const CustomRoundedRectangle&) const = default;
};

} // namespace ViewKit
