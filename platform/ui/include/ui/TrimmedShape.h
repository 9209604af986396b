#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Animatable.h"
#include "ui/Path.h"
#include "ui/Shape.h"

#include <utility>

namespace ui {

namespace detail {
template <class S> struct TrimmedShapeData {
    using Type = AnimatablePair<graphics::CGFloat, graphics::CGFloat>;
};
template <Animatable S> struct TrimmedShapeData<S> {
    using Type = AnimatablePair<AnimatablePair<graphics::CGFloat, graphics::CGFloat>, AnimatableDataOf<S>>;
};
} // namespace detail

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

    // The two ends animate, and so does the trimmed shape's own data.
    using AnimatableData = typename detail::TrimmedShapeData<S>::Type;
    AnimatableData animatableData() const {
        if constexpr (Animatable<S>)
            return {{from_, to_}, getAnimatableData(shape_)};
        else
            return {from_, to_};
    }
    void setAnimatableData(AnimatableData data) {
        if constexpr (Animatable<S>) {
            from_ = data.first.first;
            to_ = data.first.second;
            ui::setAnimatableData(shape_, std::move(data.second));
        } else {
            from_ = data.first;
            to_ = data.second;
        }
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
