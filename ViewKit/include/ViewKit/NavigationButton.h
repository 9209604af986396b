#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>

namespace ViewKit {

// A full-width list row that runs `action` when clicked, its content at the leading edge and a
// disclosure arrow at the trailing one.
struct NavigationButton {
    std::function<void()> action;
    std::function<ui::View()> content;

    ui::View body(ui::ViewContext& ctx) const;
};

// The faint disclosure arrow of navigation rows.
struct NavigationLinkArrow {
    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
