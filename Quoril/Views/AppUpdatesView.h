#pragma once

#include "Views/AppUpdatesViewModel.h"

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace updater {
class SPUUpdater;
}

namespace quoril {

// "Check for Updates…" in the application menu, enabled while the updater can check.
struct AppUpdatesView {
    std::shared_ptr<AppUpdatesViewModel> appUpdatesViewModel;
    std::shared_ptr<updater::SPUUpdater> updater;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
