#pragma once

#include "graphics/CGAffineTransform.h"
#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Angle.h"
#include "ui/Path.h"
#include "ui/Shape.h"

#include <utility>

namespace ui {

// A shape turned about the centre of its rectangle; a positive angle turns clockwise on screen.
template <class S> class RotatedShape : public Shape<RotatedShape<S>> {
public:
    RotatedShape(S shape, Angle angle)
        : shape_(std::move(shape))
        , angle_(angle) {}

    Path path(const graphics::CGRect& rect) const {
        using graphics::CGAffineTransform;
        const graphics::CGFloat x = rect.midX();
        const graphics::CGFloat y = rect.midY();
        const CGAffineTransform turn = CGAffineTransform::translation(-x, -y)
                                           .concatenating(CGAffineTransform::rotation(angle_.radians()))
                                           .concatenating(CGAffineTransform::translation(x, y));
        return shape_.path(rect).applying(turn);
    }

    RotatedShape inset(graphics::CGFloat amount) const requires InsettableShape<S> {
        return {shape_.inset(amount), angle_};
    }

private:
    S shape_;
    Angle angle_;
};

template <class Derived> RotatedShape<Derived> Shape<Derived>::rotation(Angle angle) const {
    return {self(), angle};
}

} // namespace ui
