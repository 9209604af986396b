#include "QuorilShared/MacAppIcon.h"

#include <cctype>

namespace quoril {

std::string rawValue(MacAppIcon icon) {
    switch (icon) {
    case MacAppIcon::red:
        return "red";
    case MacAppIcon::orange:
        return "orange";
    case MacAppIcon::yellow:
        return "yellow";
    case MacAppIcon::green:
        return "green";
    case MacAppIcon::blue:
        return "blue";
    case MacAppIcon::purple:
        return "purple";
    case MacAppIcon::black:
        return "black";
    case MacAppIcon::white:
        return "white";
    }
    return "red";
}

std::optional<MacAppIcon> macAppIconFromRawValue(const std::string& raw) {
    for (MacAppIcon icon : allMacAppIcons) {
        if (rawValue(icon) == raw) return icon;
    }
    return std::nullopt;
}

std::string imageName(MacAppIcon icon) {
    // The raw values are lower-case ASCII words, so capitalising is upper-casing the first letter.
    std::string name = rawValue(icon);
    name.front() = char(std::toupper(static_cast<unsigned char>(name.front())));
    return name + "AppIcon";
}

} // namespace quoril
