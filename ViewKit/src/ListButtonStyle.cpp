#include "ViewKit/ListButtonStyle.h"

#include "ViewKit/MainActor.h"

#include "ui/AnyShape.h"
#include "ui/Frame.h"
#include "ui/Rectangle.h"

#include <limits>

namespace ViewKit {

ListButtonStyle::ListButtonStyle(double pressedOpacity)
    : pressedOpacity(pressedOpacity) {
    detail::requireMainActor("ListButtonStyle");
}

ui::View ListButtonStyle::makeBody(const ui::ButtonStyleConfiguration& configuration) const {
    detail::requireMainActor("ListButtonStyle");
    return configuration.label
        .frame(ui::FlexibleFrame{.maxWidth = std::numeric_limits<graphics::CGFloat>::infinity(),
                                 .alignment = ui::Alignment::leading})
        .contentShape(ui::AnyShape(ui::Rectangle()))
        .opacity(configuration.isPressed ? pressedOpacity : 1.0);
}

} // namespace ViewKit
