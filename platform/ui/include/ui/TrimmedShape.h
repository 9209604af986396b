#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

#include <utility>

namespace ui {

// A shape cut to a range of its outline's length (see Path::trimmedPath).
template <class S> class TrimmedShape : public Shape<TrimmedShape<S>> {
public:
    TrimmedShape(S shape, graphics::CGFloat from, graphics::CGFloat to)
        : shape_(std::move(shape))
        , from_(from)
        , to_(to) {}

    Path path(const graphics::CGRect& rect) const { return shape_.path(rect).trimmedPath(from_, to_); }

    TrimmedShape inset(graphics::CGFloat amount) const requires InsettableShape<S> {
        return {shape_.inset(amount), from_, to_};
    }

private:
    S shape_;
    graphics::CGFloat from_;
    graphics::CGFloat to_;
};

template <class Derived>
TrimmedShape<Derived> Shape<Derived>::trim(graphics::CGFloat from, graphics::CGFloat to) const {
    return {self(), from, to};
}

} // namespace ui
