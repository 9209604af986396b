#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

namespace quoril {

// The General tab: when accomplished goals burn by themselves.
struct GeneralSettingsView {
    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
