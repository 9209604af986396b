#include "Views/SettingsView.h"

#include "App/PreferenceKeys.h"

#include "Views/AppearanceSettingsView.h"
#include "Views/GeneralSettingsView.h"
#include "Views/UpdatesSettingsView.h"

#include "QuorilShared/DockIconKey.h"
#include "ui/Tab.h"
#include "ui/TabView.h"
#include "ui/Text.h"

#include <vector>

namespace quoril {

namespace {

ui::View content(SettingsTab tab, const std::shared_ptr<updater::SPUUpdater>& updater) {
    switch (tab) {
    case SettingsTab::general: return GeneralSettingsView{};
    case SettingsTab::appearance: return AppearanceSettingsView{};
    case SettingsTab::updates: return UpdatesSettingsView{updater};
    }
    return {};
}

} // namespace

ui::View SettingsView::body(ui::ViewContext&) const {
    // The window's keys exist (their defaults registered) once it is built, whichever tab shows.
    dockIcon();
    accentColorMatchesDockIcon();
    std::vector<ui::Tab> tabs;
    for (SettingsTab tab : allSettingsTabs)
        tabs.emplace_back(ui::Text::verbatim(title(tab)), systemImage(tab), tab, content(tab, updater));
    return ui::View(ui::TabView(selectedTab, std::move(tabs))).frame(600, std::nullopt);
}

} // namespace quoril
