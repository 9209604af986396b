#include "ViewKit/ViewAnyView.h"

#include "ViewKit/MainActor.h"

namespace ViewKit {

ui::AnyView eraseToAnyView(const ui::View& view) {
    detail::requireMainActor("eraseToAnyView");
    return ui::AnyView(view);
}

} // namespace ViewKit
