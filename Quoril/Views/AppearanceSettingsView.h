#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

namespace quoril {

// The Appearance tab: one button per Dock icon, the stored choice ringed. While the tab shows,
// each change of the choice (the user's or another program's) becomes the windows' icon;
// nothing sets the icon when the tab opens.
struct AppearanceSettingsView {
    double cornerRadius = 13.5;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
