#include "Views/QuorilApp.h"

#include "App/PreferenceKeys.h"
#include "App/SharedModelContainer.h"
#include "Views/BurnShader.h"
#include "Views/ContentView.h"
#include "Views/MainCommands.h"
#include "Views/SettingsView.h"

#include "Prefs/Default.h"
#include "Prefs/ValueAccess.h"
#include "foundation/Bundle.h"
#include "foundation/DayChangeSource.h"
#include "store/ModelContext.h"
#include "store/ui/ModelContainerModifier.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Font.h"
#include "ui/Settings.h"
#include "ui/WindowGroup.h"

#include <string>

namespace quoril {

namespace {

std::string applicationName() {
    const std::string* name = foundation::Bundle::main()->objectForInfoDictionaryKey("CFBundleName").string();
    return name ? *name : std::string("Quoril");
}

} // namespace

QuorilApp::QuorilApp() {
    registerBurnShader();
    Prefs::get(burnOnQuit());
    Prefs::get(burnAtEndOfDay());
    Prefs::get(lastAutoBurnDate());
    commandManager = std::make_shared<CommandManager>();
    modifierKeyManager = ModifierKeyManager::shared();
    selectionManager = SelectionManager::shared();
    selectedSettingsTab = SettingsTab::general;
    sharedModelContainer = makeSharedModelContainer();
    dayChangeWatch = std::make_shared<DayChangeWatch>();
    foundation::DayChangeSource::shared().start();
    updaterController = std::make_shared<updater::SPUStandardUpdaterController>(
        true, std::weak_ptr<updater::UpdaterDelegate>(), std::weak_ptr<updater::UserDriverDelegate>());
}

void QuorilApp::scenePhaseChanged(ui::ScenePhase newPhase) const {
    if (newPhase == ui::ScenePhase::background) sharedModelContainer->mainContext()->autosaveNow();
    quoril::scenePhaseChanged(newPhase, sharedModelContainer, *dayChangeWatch);
}

ui::Scene QuorilApp::body(ui::ViewContext& ctx) const {
    const auto scenePhase = ctx.environment<ui::ScenePhaseKey>();
    // Bound here so that the settings' switches and the day's stamp re-evaluate the scenes.
    Prefs::Default<bool> burnOnQuitSetting(ctx, "burnOnQuit", burnOnQuit());
    Prefs::Default<bool> burnAtEndOfDaySetting(ctx, "burnAtEndOfDay", burnAtEndOfDay());
    Prefs::Default<foundation::Date> lastAutoBurnDateSetting(ctx, "lastAutoBurnDate", lastAutoBurnDate());
    auto selectedSettingsTab = ctx.state<SettingsTab>("selectedSettingsTab", this->selectedSettingsTab);

    // Another selection is another list, with a query and states of its own.
    const auto& collection = selectionManager->selectedCollection();
    ui::View content = ui::View(ContentView{collection})
                           .id(collection ? collection->id().uuidString() : std::string())
                           .fontDesign(ui::Font::Design::rounded)
                           .environmentObject(commandManager)
                           .environmentObject(modifierKeyManager);
    const auto app = *this;
    const auto& updater = updaterController->updater();
    ui::Scene main = store::modelContainer(ui::WindowGroup(applicationName(), content), sharedModelContainer)
                         .commands(MainCommands{updater, commandManager})
                         .onChange(scenePhase, false,
                                   [app](ui::ScenePhase, ui::ScenePhase now) { app.scenePhaseChanged(now); })
                         .windowResizability(ui::WindowResizability::contentSize)
                         .defaultSize(400, 350)
                         .defaultPosition(ui::UnitPoint::center)
                         .windowToolbarStyle(ui::WindowToolbarStyle::unified);
    ui::Scene settings =
        ui::Settings(ui::View(SettingsView{selectedSettingsTab.binding(), updater}).environmentObject(modifierKeyManager))
            .windowResizability(ui::WindowResizability::contentSize);
    return ui::Scene{main, settings};
}

} // namespace quoril
