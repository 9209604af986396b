#pragma once

#include "Views/SettingsTab.h"

#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace quoril {

// The settings window's content, 600 points wide.
struct SettingsView {
    ui::Binding<SettingsTab> selectedTab;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
