#pragma once

#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

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
        : box_(std::make_shared<Model<S>>(std::move(shape))) {}

    Path path(const graphics::CGRect& rect) const { return box_->path(rect); }

private:
    struct Concept {
        virtual ~Concept() = default;
        virtual Path path(const graphics::CGRect& rect) const = 0;
    };
    template <class S> struct Model final : Concept {
        explicit Model(S s)
            : shape(std::move(s)) {}
        Path path(const graphics::CGRect& rect) const override { return shape.path(rect); }
        S shape;
    };

    std::shared_ptr<const Concept> box_;
};

} // namespace ui
