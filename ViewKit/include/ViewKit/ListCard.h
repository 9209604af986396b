#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>

namespace ViewKit {

// Content on a card of the inverted primary colour (light in the light scheme, dark in the
// dark one), rounded and shadowed as the environment's ListCardStyle says, with an optional
// context menu. The shadow lies outside the clip, so it is never cut off.
struct ListCard {
    std::function<ui::View()> content;
    std::function<ui::View()> contextMenu; // empty: no menu

    explicit ListCard(std::function<ui::View()> content);
    ListCard(std::function<ui::View()> content, std::function<ui::View()> contextMenu);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
