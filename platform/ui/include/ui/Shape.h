#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Angle.h"
#include "ui/AnyShapeStyle.h"
#include "ui/FillStyle.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Path.h"
#include "ui/StrokeStyle.h"

#include <concepts>

namespace ui {

// Anything that outlines itself in a rectangle is a shape.
template <class S>
concept ShapeType = requires(const S& shape, const graphics::CGRect& rect) {
    { shape.path(rect) } -> std::same_as<Path>;
};

// A shape that can shrink by an amount on every edge, so a border can be stroked inside it.
template <class S>
concept InsettableShape = ShapeType<S> && requires(const S& shape, graphics::CGFloat amount) {
    { shape.inset(amount) } -> ShapeType;
};

class View;

template <class S> class TrimmedShape;
template <class S> class RotatedShape;

// The operations every shape offers; a shape type derives from Shape<Itself> to get them.
template <class Derived> struct Shape {
    // The outline between two fractions of its length.
    TrimmedShape<Derived> trim(graphics::CGFloat from = 0, graphics::CGFloat to = 1) const;
    // Turned about the centre of the rectangle it is drawn in.
    RotatedShape<Derived> rotation(Angle angle) const;

    // As views (ShapeView.h): filled, or stroked along the outline or just inside it, in a
    // style; the foreground style when none is given. A shape used as a view is filled.
    View fill(AnyShapeStyle style = HierarchicalShapeStyle::primary, FillStyle fillStyle = {}) const;
    View stroke(AnyShapeStyle style, StrokeStyle strokeStyle) const;
    View stroke(AnyShapeStyle style = HierarchicalShapeStyle::primary, graphics::CGFloat lineWidth = 1) const;
    View strokeBorder(AnyShapeStyle style, StrokeStyle strokeStyle,
                      bool antialiased = true) const requires InsettableShape<Derived>;
    View strokeBorder(AnyShapeStyle style = HierarchicalShapeStyle::primary, graphics::CGFloat lineWidth = 1,
                      bool antialiased = true) const requires InsettableShape<Derived>;
    operator View() const; // NOLINT(google-explicit-constructor): a shape is a view

protected:
    const Derived& self() const { return static_cast<const Derived&>(*this); }
};

// A built-in shape that keeps how far its edges have moved in, summed over inset() calls, and
// applies that when it makes its path.
template <class Derived> struct InsetShape : Shape<Derived> {
    graphics::CGFloat insetAmount = 0;

    Derived inset(graphics::CGFloat amount) const {
        Derived shape = this->self();
        shape.insetAmount += amount;
        return shape;
    }
};

} // namespace ui

// The wrappers define the operations above; included here so every shape has them.
#include "ui/ShapeRotation.h"
#include "ui/ShapeView.h"
#include "ui/TrimmedShape.h"
