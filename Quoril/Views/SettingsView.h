#pragma once

#include "Views/SettingsTab.h"

#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace updater {
class SPUUpdater;
}

namespace quoril {

// The settings window's content: the General, Appearance and Updates tabs, 600 points wide and
// as high as the shown tab. The application keeps the selected tab.
struct SettingsView {
    ui::Binding<SettingsTab> selectedTab;
    std::shared_ptr<updater::SPUUpdater> updater;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
