#pragma once

#include "graphics/CGFloat.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace ViewKit {

// An invisible list row exactly `height` points high.
struct ListPadding {
    graphics::CGFloat height = 0;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
