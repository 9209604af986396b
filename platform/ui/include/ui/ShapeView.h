#pragma once

#include "graphics/CGRect.h"
#include "ui/AnyShape.h" // so any shape can be passed where an AnyShape is asked for
#include "ui/AnyShapeStyle.h"
#include "ui/FillStyle.h"
#include "ui/Path.h"
#include "ui/Shape.h"
#include "ui/ShapeOutline.h"
#include "ui/StrokeStyle.h"
#include "ui/View.h"

#include <concepts>
#include <memory>
#include <utility>

namespace ui {

namespace detail {

// How a shape view paints its outline.
struct ShapePaint {
    AnyShapeStyle style = HierarchicalShapeStyle::primary;
    bool stroked = false;
    FillStyle fillStyle;
    StrokeStyle strokeStyle;
};

// A leaf that takes what it is offered and paints the outline of its frame.
View shapeView(std::shared_ptr<const ShapeOutline> outline, ShapePaint paint);

template <ShapeType S> std::shared_ptr<const ShapeOutline> outlineOf(S shape) {
    if constexpr (std::same_as<S, AnyShape>)
        return shape.outline(); // keeps what the erased shape animates
    else
        return std::make_shared<ShapeOutlineOf<S>>(std::move(shape));
}

} // namespace detail

template <class Derived> View Shape<Derived>::fill(AnyShapeStyle style, FillStyle fillStyle) const {
    return detail::shapeView(detail::outlineOf(self()), {std::move(style), false, fillStyle, {}});
}

template <class Derived> View Shape<Derived>::stroke(AnyShapeStyle style, StrokeStyle strokeStyle) const {
    return detail::shapeView(detail::outlineOf(self()), {std::move(style), true, {}, std::move(strokeStyle)});
}

template <class Derived> View Shape<Derived>::stroke(AnyShapeStyle style, graphics::CGFloat lineWidth) const {
    return stroke(std::move(style), StrokeStyle{.lineWidth = lineWidth});
}

template <class Derived>
View Shape<Derived>::strokeBorder(AnyShapeStyle style, StrokeStyle strokeStyle,
                                  bool antialiased) const requires InsettableShape<Derived> {
    // Moved in by half the line width, so the whole stroke lies inside the frame.
    const graphics::CGFloat half = strokeStyle.drawsNothing() ? 0 : strokeStyle.lineWidth / 2;
    return detail::shapeView(detail::outlineOf(self().inset(half)),
                             {std::move(style), true, FillStyle{false, antialiased}, std::move(strokeStyle)});
}

template <class Derived>
View Shape<Derived>::strokeBorder(AnyShapeStyle style, graphics::CGFloat lineWidth,
                                  bool antialiased) const requires InsettableShape<Derived> {
    return strokeBorder(std::move(style), StrokeStyle{.lineWidth = lineWidth}, antialiased);
}

template <class Derived> Shape<Derived>::operator View() const {
    return fill();
}

} // namespace ui
