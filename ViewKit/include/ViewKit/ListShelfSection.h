#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <optional>

namespace ViewKit {

// A titled section whose items lie in one row that scrolls sideways (a vertical wheel scrolls
// it too), without a scroll bar. Inside the scroll area the row keeps `shadowSpacing` points
// free above and below, so the items' shadows are not clipped; outside it takes that room back,
// so the section is as high as its title and items. Insets and spacings come from the
// environment's ListShelfSectionStyle. Items are built as they scroll into view.
struct ListShelfSection {
    double shadowSpacing = 50;
    std::function<ui::View()> title;
    std::function<ui::View()> content;

    ListShelfSection(std::optional<double> shadowSpacing, std::function<ui::View()> title,
                     std::function<ui::View()> content);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
