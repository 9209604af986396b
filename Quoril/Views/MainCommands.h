#pragma once

#include "App/CommandManager.h"

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace updater {
class SPUUpdater;
}

namespace quoril {

// The program's own menu items: "Check for Updates…" below About, and "New Goal" (Ctrl+N) and
// "Burn Accomplished Goals" (Ctrl+B) in place of the File menu's new-item group. The goal items
// only send on the command channels; the goal list says through the channels when they are
// disabled (both start enabled, and values sent before the menus listened are not seen).
struct MainCommands {
    std::shared_ptr<updater::SPUUpdater> updater;
    std::shared_ptr<CommandManager> commandManager;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
