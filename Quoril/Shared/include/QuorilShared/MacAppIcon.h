#pragma once

#include "foundation/JSONCoding.h"
#include "foundation/RawRepresentable.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace quoril {

// The Dock icon the user chose. Stored as the JSON text of its raw value ("\"red\""), which
// the dock-tile plug-in reads back with the same type.
enum class MacAppIcon { red, orange, yellow, green, blue, purple, black, white };

// In the order of the icon buttons of the settings window.
inline constexpr std::array<MacAppIcon, 8> allMacAppIcons{
    MacAppIcon::red,  MacAppIcon::orange, MacAppIcon::yellow, MacAppIcon::green,
    MacAppIcon::blue, MacAppIcon::purple, MacAppIcon::black,  MacAppIcon::white};

// The raw value: the case's name.
std::string rawValue(MacAppIcon icon);
// nullopt for any text but the eight names (case-sensitive).
std::optional<MacAppIcon> macAppIconFromRawValue(const std::string& raw);
// Its identifier is its raw value.
inline std::string id(MacAppIcon icon) {
    return rawValue(icon);
}
// "RedAppIcon", ...: the name of the icon's image in the program's and the plug-in's bundles.
std::string imageName(MacAppIcon icon);

} // namespace quoril

template <> struct foundation::RawRepresentation<quoril::MacAppIcon> {
    using RawValue = std::string;
    static std::string rawValue(quoril::MacAppIcon icon) { return quoril::rawValue(icon); }
    static std::optional<quoril::MacAppIcon> fromRawValue(const std::string& raw) {
        return quoril::macAppIconFromRawValue(raw);
    }
};

template <> inline constexpr bool foundation::codesByRawValue<quoril::MacAppIcon> = true;

template <> struct std::hash<quoril::MacAppIcon> {
    std::size_t operator()(quoril::MacAppIcon icon) const noexcept {
        return std::hash<std::string>{}(quoril::rawValue(icon));
    }
};
