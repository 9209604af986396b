#pragma once

#include "foundation/JSONCoding.h"
#include "foundation/RawRepresentable.h"

#include <array>
#include <optional>
#include <string>

namespace quoril {

// The settings window's tabs, in the order the tab bar shows them.
enum class SettingsTab { general, appearance, updates };

inline constexpr std::array<SettingsTab, 3> allSettingsTabs{SettingsTab::general, SettingsTab::appearance,
                                                            SettingsTab::updates};

// The raw value: the case's name; it is also the tab's identifier.
std::string rawValue(SettingsTab tab);
// nullopt for any text but the three names.
std::optional<SettingsTab> settingsTabFromRawValue(const std::string& raw);
// "General", "Appearance", "Updates", localised each time it is read.
std::string title(SettingsTab tab);
// The system symbol beside the title.
std::string systemImage(SettingsTab tab);

} // namespace quoril

template <> struct foundation::RawRepresentation<quoril::SettingsTab> {
    using RawValue = std::string;
    static std::string rawValue(quoril::SettingsTab tab) { return quoril::rawValue(tab); }
    static std::optional<quoril::SettingsTab> fromRawValue(const std::string& raw) {
        return quoril::settingsTabFromRawValue(raw);
    }
};

template <> inline constexpr bool foundation::codesByRawValue<quoril::SettingsTab> = true;
