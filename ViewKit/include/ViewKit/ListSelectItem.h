#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>

namespace ViewKit {

// A row with its content at the leading edge and, while selected, `selectedIndicator` at the
// trailing edge. The caller holds the selection.
struct ListSelectItem {
    bool isSelected = false;
    ui::View selectedIndicator;
    std::function<ui::View()> content;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
