#pragma once

#include "graphics/NSColor.h"

#include <optional>
#include <string>

namespace desktop {

// What the standard about panel shows instead of what it reads from the program's bundle
// (CFBundleName, CFBundleShortVersionString, CFBundleVersion, NSHumanReadableCopyright).
// Credits are shown as small secondary text; empty credits are shown as such, not replaced.
struct AboutPanelOptions {
    // Credits drawn as given: the text in its colour (the primary text colour when none) at its
    // size in points (the system font size when none).
    struct Credits {
        std::string text;
        std::optional<graphics::NSColor> foregroundColor;
        std::optional<double> fontSize;

        bool operator==(const Credits&) const = default;
    };

    std::optional<std::string> applicationName;
    std::optional<std::string> applicationVersion;
    std::optional<std::string> version;
    std::optional<std::string> credits;
    // Wins over the plain credits.
    std::optional<Credits> attributedCredits;

    bool operator==(const AboutPanelOptions&) const = default;
};

} // namespace desktop
