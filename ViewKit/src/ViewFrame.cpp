#include "ViewKit/ViewFrame.h"

#include "ViewKit/MainActor.h"

namespace ViewKit {

ViewOperation frame(graphics::CGSize size) {
    detail::requireMainActor("frame");
    return ViewOperation(
        [size](const ui::View& view) { return view.frame(size.width, size.height, ui::Alignment::center); });
}

ViewOperation squareFrame(graphics::CGFloat side) {
    return frame(graphics::CGSize{side, side});
}

} // namespace ViewKit
