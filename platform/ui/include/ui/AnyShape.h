#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"
#include "ui/ShapeOutline.h"

#include <concepts>
#include <memory>
#include <type_traits>

namespace ui {

// Any shape behind one type, for a stored shape whose type is chosen at run time.
class AnyShape : public Shape<AnyShape> {
public:
    template <ShapeType S>
    requires(!std::same_as<std::remove_cvref_t<S>, AnyShape>)
        AnyShape(S shape) // NOLINT(google-explicit-constructor): erasing is the point
        : box_(std::make_shared<detail::ShapeOutlineOf<S>>(std::move(shape))) {}

    Path path(const graphics::CGRect& rect) const { return box_->path(rect, nullptr); }
    // The erased shape with what it animates (an Animatable shape's data), for the nodes
    // that draw or clip with it.
    const std::shared_ptr<const detail::ShapeOutline>& outline() const { return box_; }

private:
    std::shared_ptr<const detail::ShapeOutline> box_;
};

} // namespace ui
