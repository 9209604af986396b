#pragma once

#include "ui/Font.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The installed font families (fontconfig through Qt), in the font database's order, without
// the generic aliases ("Sans Serif", "Monospace", …) that name no family of their own.
std::vector<std::string> availableFontFamilies();

// The family that system fonts of `design` use. Read once per process.
const std::string& systemFontFamily(Font::Design design);

// An installed face named by family ("dejavu serif") or by face ("DejaVu Serif Bold",
// "DejaVuSerif-Bold"), compared without regard to case; nullopt for an empty or unknown name.
struct FontFace {
    std::string family;
    std::string style; // empty: the family as a whole
};
std::optional<FontFace> installedFontFace(std::string_view name);

} // namespace ui
