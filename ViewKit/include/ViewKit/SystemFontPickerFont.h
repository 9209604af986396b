#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ViewKit {

// A font family offered by the font pickers, named as the font database spells it. Two fonts
// are the same font when their names are equal ignoring case.
struct SystemFontPickerFont {
    // The name that stands for the system font; an empty or blank name does too.
    static constexpr std::string_view systemFontName = ".AppleSystemUIFont";
    static constexpr std::string_view systemFontDisplayName = "Standard";

    std::string fontName;
    std::string fontDisplayName;

    // The font of a family name, kept as given; shown as "Standard" for a system font name.
    explicit SystemFontPickerFont(std::string name);
    SystemFontPickerFont(std::string fontName, std::string fontDisplayName)
        : fontName(std::move(fontName))
        , fontDisplayName(std::move(fontDisplayName)) {}

    std::string id() const;
    bool operator==(const SystemFontPickerFont&) const = default;

    // Blank, or beginning with the system font name in any letter case.
    static bool isSystemFontName(std::string_view name);
    // One font per installed family, in the font database's order; asked anew on every call.
    static std::vector<SystemFontPickerFont> all();
    // "Standard" first, then `fonts` sorted by display name (plain, case-sensitive, stable).
    static std::vector<SystemFontPickerFont> standardFonts(std::vector<SystemFontPickerFont> fonts = all());
};

// `fonts` with the font named `name` (trimmed of spaces and tabs, any letter case) on top, made
// from the first matching family's own name, and no other font of that name; unchanged when
// no font has that name.
std::vector<SystemFontPickerFont> movingToTop(const std::vector<SystemFontPickerFont>& fonts,
                                              std::string_view name);

} // namespace ViewKit
