#include "desktop/NSFont.h"

#include "ui/Font.h"
#include "ui/FontFamilies.h"

#include <cmath>

namespace desktop {

namespace {

bool isValidSize(double size) {
    return std::isfinite(size) && size > 0;
}

} // namespace

std::optional<NSFont> NSFont::named(std::string_view name, double size) {
    if (!isValidSize(size) || !ui::installedFontFace(name)) return std::nullopt;
    return NSFont(std::string(name), size);
}

NSFont NSFont::systemFont(double size) {
    return NSFont(ui::systemFontFamily(ui::Font::Design::defaultDesign), isValidSize(size) ? size : systemFontSize());
}

} // namespace desktop
