#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Animatable.h"
#include "ui/Path.h"
#include "ui/RoundedCornerStyle.h"
#include "ui/Shape.h"

namespace ui {

// A rectangle with rounded corners; the corner size is limited to half the rectangle.
struct RoundedRectangle : InsetShape<RoundedRectangle> {
    graphics::CGSize cornerSize;
    RoundedCornerStyle style = RoundedCornerStyle::circular;

    explicit RoundedRectangle(graphics::CGFloat cornerRadius,
                              RoundedCornerStyle style = RoundedCornerStyle::circular)
        : cornerSize{cornerRadius, cornerRadius}
        , style(style) {}
    explicit RoundedRectangle(graphics::CGSize cornerSize,
                              RoundedCornerStyle style = RoundedCornerStyle::circular)
        : cornerSize(cornerSize)
        , style(style) {}

    // The corner size animates.
    AnimatablePair<graphics::CGFloat, graphics::CGFloat> animatableData() const {
        return {cornerSize.width, cornerSize.height};
    }
    void setAnimatableData(AnimatablePair<graphics::CGFloat, graphics::CGFloat> data) {
        cornerSize = {data.first, data.second};
    }

    // The corners shrink with the edges, so an inset outline stays parallel to the original.
    Path path(const graphics::CGRect& rect) const;
};

} // namespace ui
