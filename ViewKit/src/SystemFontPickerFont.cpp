#include "ViewKit/SystemFontPickerFont.h"

#include "ViewKit/StringExtensions.h"

#include "foundation/CharacterSet.h"
#include "foundation/TextCase.h"
#include "ui/FontFamilies.h"

#include <algorithm>
#include <cctype>

namespace ViewKit {

namespace {

std::string trimmedName(std::string_view name) {
    return trimmed(name, foundation::CharacterSet::whitespaces());
}

} // namespace

SystemFontPickerFont::SystemFontPickerFont(std::string name)
    : fontName(std::move(name))
    , fontDisplayName(isSystemFontName(fontName) ? std::string(systemFontDisplayName) : fontName) {}

std::string SystemFontPickerFont::id() const {
    // Lists ask for every row's id on each update: ASCII names, the usual ones, skip ICU.
    if (std::all_of(fontName.begin(), fontName.end(), [](char c) { return (unsigned char)c < 0x80; })) {
        std::string id = fontName;
        std::transform(id.begin(), id.end(), id.begin(),
                       [](char c) { return char(std::tolower((unsigned char)c)); });
        return id;
    }
    return foundation::lowercased(fontName);
}

bool SystemFontPickerFont::isSystemFontName(std::string_view name) {
    const std::string trimmedOne = trimmedName(name);
    if (trimmedOne.empty()) return true;
    return foundation::lowercased(trimmedOne).starts_with(foundation::lowercased(systemFontName));
}

std::vector<SystemFontPickerFont> SystemFontPickerFont::all() {
    std::vector<SystemFontPickerFont> fonts;
    for (auto& family : ui::availableFontFamilies())
        fonts.emplace_back(std::move(family));
    return fonts;
}

std::vector<SystemFontPickerFont>
SystemFontPickerFont::standardFonts(std::vector<SystemFontPickerFont> fonts) {
    std::stable_sort(fonts.begin(), fonts.end(),
                     [](const auto& a, const auto& b) { return a.fontDisplayName < b.fontDisplayName; });
    fonts.insert(fonts.begin(), SystemFontPickerFont(""));
    return fonts;
}

std::vector<SystemFontPickerFont> movingToTop(const std::vector<SystemFontPickerFont>& fonts,
                                              std::string_view name) {
    const std::string id = foundation::lowercased(trimmedName(name));
    const auto match =
        std::find_if(fonts.begin(), fonts.end(), [&](const auto& font) { return font.id() == id; });
    if (match == fonts.end()) return fonts;
    std::vector<SystemFontPickerFont> moved{SystemFontPickerFont(match->fontName)};
    std::copy_if(fonts.begin(), fonts.end(), std::back_inserter(moved),
                 [&](const auto& font) { return font.id() != id; });
    return moved;
}

} // namespace ViewKit
