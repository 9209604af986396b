#pragma once

#include <optional>
#include <string>

namespace desktop {

// What the standard about panel shows instead of what it reads from the program's bundle
// (CFBundleName, CFBundleShortVersionString, CFBundleVersion, NSHumanReadableCopyright).
// Credits are shown as small secondary text; empty credits are shown as such, not replaced.
struct AboutPanelOptions {
    std::optional<std::string> applicationName;
    std::optional<std::string> applicationVersion;
    std::optional<std::string> version;
    std::optional<std::string> credits;

    bool operator==(const AboutPanelOptions&) const = default;
};

} // namespace desktop
