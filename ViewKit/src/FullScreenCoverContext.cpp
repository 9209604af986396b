#include "ViewKit/FullScreenCoverContext.h"

namespace ViewKit {

std::shared_ptr<FullScreenCoverContext> fullScreenCoverContext(const ui::FocusedValues& values) {
    return detail::focusedContext<FullScreenCoverContextFocusedValueKey>(values);
}

void setFullScreenCoverContext(ui::FocusedValues& values, std::shared_ptr<FullScreenCoverContext> context) {
    detail::setFocusedContext<FullScreenCoverContextFocusedValueKey>(values, std::move(context));
}

} // namespace ViewKit
