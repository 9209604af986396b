#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ui::detail {

struct SystemColorValue {
    double red, green, blue, opacity;
};

// A system colour: the name NSColor knows it by, the name views use, and its sRGB values in
// the light and the dark scheme. The dark values are the ones NSColor draws.
struct SystemColor {
    std::string_view nsColorName;
    std::string_view name;
    SystemColorValue light;
    SystemColorValue dark;
};

// The one table of system colours. Hues stay recognisable in both schemes; dark values are a
// little lighter so they hold their contrast on dark backgrounds.
inline constexpr std::array<SystemColor, 22> systemColorTable = {{
    {"systemRedColor", "red", {0.898, 0.224, 0.208, 1}, {1, 0.271, 0.227, 1}},
    {"systemOrangeColor", "orange", {0.961, 0.553, 0.051, 1}, {1, 0.624, 0.141, 1}},
    {"systemYellowColor", "yellow", {0.933, 0.753, 0, 1}, {1, 0.839, 0.039, 1}},
    {"systemGreenColor", "green", {0.18, 0.702, 0.29, 1}, {0.196, 0.843, 0.294, 1}},
    {"systemMintColor", "mint", {0, 0.757, 0.702, 1}, {0.392, 0.898, 0.851, 1}},
    {"systemTealColor", "teal", {0.188, 0.62, 0.702, 1}, {0.353, 0.769, 0.851, 1}},
    {"systemCyanColor", "cyan", {0.2, 0.678, 0.902, 1}, {0.4, 0.8, 1, 1}},
    {"systemBlueColor", "blue", {0, 0.451, 0.902, 1}, {0.039, 0.518, 1, 1}},
    {"systemIndigoColor", "indigo", {0.349, 0.337, 0.8, 1}, {0.451, 0.439, 0.949, 1}},
    {"systemPurpleColor", "purple", {0.651, 0.302, 0.8, 1}, {0.761, 0.4, 0.949, 1}},
    {"systemPinkColor", "pink", {0.949, 0.2, 0.4, 1}, {1, 0.302, 0.502, 1}},
    {"systemBrownColor", "brown", {0.6, 0.478, 0.357, 1}, {0.678, 0.557, 0.427, 1}},
    {"systemGrayColor", "gray", {0.553, 0.553, 0.576, 1}, {0.584, 0.584, 0.612, 1}},
    {"labelColor", "primary", {0, 0, 0, 0.85}, {1, 1, 1, 0.85}},
    {"secondaryLabelColor", "secondary", {0, 0, 0, 0.5}, {1, 1, 1, 0.55}},
    {"tertiaryLabelColor", "tertiaryLabelColor", {0, 0, 0, 0.26}, {1, 1, 1, 0.25}},
    {"textColor", "textColor", {0, 0, 0, 1}, {1, 1, 1, 1}},
    {"textBackgroundColor", "textBackgroundColor", {1, 1, 1, 1}, {0.118, 0.118, 0.118, 1}},
    {"windowBackgroundColor", "windowBackgroundColor", {0.925, 0.925, 0.925, 1}, {0.196, 0.196, 0.196, 1}},
    {"controlColor", "controlColor", {1, 1, 1, 1}, {1, 1, 1, 0.25}},
    {"separatorColor", "separatorColor", {0, 0, 0, 0.1}, {1, 1, 1, 0.1}},
    // The system accent, which the accent colour falls back to.
    {"controlAccentColor", "accentColor", {0, 0.451, 0.902, 1}, {0.039, 0.518, 1, 1}},
}};

constexpr std::uint8_t systemColorIndex(std::string_view nsColorName) {
    for (std::size_t i = 0; i < systemColorTable.size(); ++i)
        if (systemColorTable[i].nsColorName == nsColorName) return std::uint8_t(i);
    throw "no such system colour"; // a compile-time error where the index is a constant
}

inline constexpr std::uint8_t accentColorIndex = systemColorIndex("controlAccentColor");

} // namespace ui::detail
