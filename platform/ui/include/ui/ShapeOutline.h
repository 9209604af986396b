#pragma once

#include "graphics/CGRect.h"
#include "ui/Animatable.h"
#include "ui/Element.h"
#include "ui/Path.h"

#include <string_view>
#include <utility>

namespace ui::detail {

// Where a shape view gets its outline: the shape as described, or for an Animatable shape a
// copy holding the data its element presents (so a corner radius or a trim animates).
class ShapeOutline {
public:
    virtual ~ShapeOutline() = default;
    virtual void update(Element&) const {}
    // The outline in `rect`, as `element` presents it (as described without an element).
    virtual Path path(const graphics::CGRect& rect, const Element* element) const = 0;
};

template <class S> class ShapeOutlineOf final : public ShapeOutline {
public:
    explicit ShapeOutlineOf(S shape)
        : shape_(std::move(shape)) {}
    void update(Element& element) const override {
        if constexpr (Animatable<S>) element.animate(attribute, getAnimatableData(shape_));
    }
    Path path(const graphics::CGRect& rect, const Element* element) const override {
        if constexpr (Animatable<S>) {
            if (!element) return shape_.path(rect);
            S shown = shape_;
            setAnimatableData(shown, element->presentedValue(attribute, getAnimatableData(shape_)));
            return shown.path(rect);
        } else {
            return shape_.path(rect);
        }
    }

private:
    static constexpr std::string_view attribute = "shape";
    S shape_;
};

} // namespace ui::detail
