#include "ViewKit/DotLoadingAnimationText.h"

#include "ViewKit/DotLoadingAnimation.h"
#include "ViewKit/MainActor.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <algorithm>

namespace ViewKit {

ui::View DotLoadingAnimationText::body(ui::ViewContext&) const {
    detail::requireMainActor("DotLoadingAnimationText");
    const int count = std::max(dotCount, 0);
    const ui::Text label(text, {}, bundle);
    // The widest state, invisible, holds the size; the live row grows inside it.
    ui::View sizing =
        ui::HStack(ui::VerticalAlignment::center, 0,
                   {ui::View(label), ui::View(ui::Text::verbatim(DotLoadingAnimation::dots(count)))});
    ui::View shown = ui::HStack(ui::VerticalAlignment::center, 0,
                                {ui::View(label), ui::View(DotLoadingAnimation(count, interval))});
    return sizing.opacity(0).overlay(shown, ui::Alignment::leading);
}

} // namespace ViewKit
