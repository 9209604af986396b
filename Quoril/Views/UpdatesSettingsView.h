#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace updater {
class SPUUpdater;
}

namespace quoril {

// The Updates tab. It keeps no setting of its own: its switches and frequency start from the
// updater's values when the tab is made and write each change straight to the updater. What
// the updater changes by itself meanwhile shows when the tab is made again.
struct UpdatesSettingsView {
    std::shared_ptr<updater::SPUUpdater> updater;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
