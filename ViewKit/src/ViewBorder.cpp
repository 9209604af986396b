#include "ViewKit/ViewBorder.h"

#include "ViewKit/MainActor.h"

#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"

namespace ViewKit {

ViewOperation border(ui::AnyShapeStyle style, graphics::CGFloat lineWidth, graphics::CGFloat cornerRadius) {
    detail::requireMainActor("border");
    return ViewOperation([=](const ui::View& view) {
        return view.overlay(ui::RoundedRectangle(graphics::CGSize{cornerRadius, cornerRadius},
                                                 ui::RoundedCornerStyle::continuous)
                                .strokeBorder(style, lineWidth, true));
    });
}

} // namespace ViewKit
