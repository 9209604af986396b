#include "ViewKit/PrimaryBackground.h"

#include "ViewKit/MainActor.h"

#include "ui/Color.h"

namespace ViewKit {

ui::View primaryBackground(ui::ColorScheme scheme) {
    detail::requireMainActor("primaryBackground");
    if (scheme == ui::ColorScheme::light) return ui::View(ui::Color::primary).colorInvert();
    return ui::View(ui::Color::primary.opacity(0.102));
}

} // namespace ViewKit
