#include "Views/SettingsTab.h"

#include "foundation/Bundle.h"

namespace quoril {

std::string rawValue(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return "general";
    case SettingsTab::appearance: return "appearance";
    case SettingsTab::updates: return "updates";
    }
    return {};
}

std::optional<SettingsTab> settingsTabFromRawValue(const std::string& raw) {
    for (SettingsTab tab : allSettingsTabs)
        if (rawValue(tab) == raw) return tab;
    return std::nullopt;
}

std::string title(SettingsTab tab) {
    const auto& bundle = *foundation::Bundle::main();
    switch (tab) {
    case SettingsTab::general: return bundle.localizedString("General"); // General settings tab
    case SettingsTab::appearance: return bundle.localizedString("Appearance"); // Appearance settings tab
    case SettingsTab::updates: return bundle.localizedString("Updates"); // Update settings tab
    }
    return {};
}

std::string systemImage(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return "gear";
    case SettingsTab::appearance: return "paintbrush.pointed";
    case SettingsTab::updates: return "arrow.trianglehead.2.clockwise.rotate.90";
    }
    return {};
}

} // namespace quoril
