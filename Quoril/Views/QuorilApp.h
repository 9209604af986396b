#pragma once

#include "App/AutoBurn.h"
#include "App/CommandManager.h"
#include "App/ModifierKeyManager.h"
#include "App/SelectionManager.h"
#include "Views/AppDelegate.h"
#include "Views/SettingsTab.h"

#include "desktop/Application.h"
#include "desktop/ApplicationDelegate.h"
#include "store/ModelContainer.h"
#include "updater/SPUStandardUpdaterController.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Scene.h"
#include "ui/ViewContext.h"

#include <memory>

namespace quoril {

// The application: the goal list window over the shared model container, and the settings.
// Made once by the host, which keeps it (and what it owns) for the life of the program.
struct QuorilApp {
    desktop::ApplicationDelegateAdaptor<AppDelegate> appDelegate;
    std::shared_ptr<CommandManager> commandManager;
    std::shared_ptr<ModifierKeyManager> modifierKeyManager;
    std::shared_ptr<SelectionManager> selectionManager;
    SettingsTab selectedSettingsTab = SettingsTab::general;
    std::shared_ptr<store::ModelContainer> sharedModelContainer;
    // At most one day-change task runs, for the life of the program.
    std::shared_ptr<DayChangeWatch> dayChangeWatch;
    // Made last, started, without delegates; its updater serves the menu and the settings.
    std::shared_ptr<updater::SPUStandardUpdaterController> updaterController;

    // Reads the three keys of automatic burning (so the last burn's stamp gets its default now),
    // builds the shared container, which seeds and selects the first collection, and starts the
    // day-change notifications; then makes the updater controller.
    QuorilApp();

    ui::Scene body(ui::ViewContext& ctx) const;
    // The scene-phase handler of the main window group: what goes to the background is saved
    // first, then the automatic burning runs its rule.
    void scenePhaseChanged(ui::ScenePhase newPhase) const;
};

} // namespace quoril
