#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGRect.h"
#include "ui/Path.h"
#include "ui/Shape.h"

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>

namespace Flair {

// Any insettable shape behind one type: the shape as given, moved in by the sum of the insets
// asked of it since (a negative inset grows it).
class AnyInsettableShape : public ui::Shape<AnyInsettableShape> {
public:
    template <ui::InsettableShape S>
    requires(!std::same_as<std::remove_cvref_t<S>, AnyInsettableShape>)
        AnyInsettableShape(S shape) // NOLINT(google-explicit-constructor): erasing is the point
        : outline_(std::make_shared<const Outline>(
              [shape = std::move(shape)](const graphics::CGRect& rect, graphics::CGFloat inset) {
                  return ui::Path(shape.inset(inset).path(rect));
              })) {}

    ui::Path path(const graphics::CGRect& rect) const { return (*outline_)(rect, insetAmount_); }
    AnyInsettableShape inset(graphics::CGFloat amount) const {
        AnyInsettableShape shape = *this;
        shape.insetAmount_ += amount;
        return shape;
    }

private:
    using Outline = std::function<ui::Path(const graphics::CGRect&, graphics::CGFloat)>;
    std::shared_ptr<const Outline> outline_;
    graphics::CGFloat insetAmount_ = 0;
};

} // namespace Flair
