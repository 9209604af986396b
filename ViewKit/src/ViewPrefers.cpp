#include "ViewKit/ViewPrefers.h"

#include "ViewKit/MainActor.h"

#include "ui/AnyView.h"
#include "ui/MenuOrder.h"
#include "ui/ViewConditional.h"
#include "ui/Visibility.h"

namespace ViewKit {

namespace {

// Both capabilities exist on every system this runs on, so the first branch is always taken;
// the conditional keeps the view's shape the same as where they would be missing.
constexpr bool systemHasMenuAndOverlayPreferences = true;

} // namespace

ViewOperation prefersFixedMenuOrder() {
    detail::requireMainActor("prefersFixedMenuOrder");
    return ViewOperation([](const ui::View& view) {
        return ui::ConditionalContent(systemHasMenuAndOverlayPreferences,
                                      ui::AnyView(view.menuOrder(ui::MenuOrder::fixed)), view);
    });
}

ViewOperation prefersHiddenSystemOverlays() {
    detail::requireMainActor("prefersHiddenSystemOverlays");
    return ViewOperation([](const ui::View& view) {
        return ui::ConditionalContent(systemHasMenuAndOverlayPreferences,
                                      ui::AnyView(view.persistentSystemOverlays(ui::Visibility::hidden)), view);
    });
}

} // namespace ViewKit
