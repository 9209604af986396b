#include "ViewKit/FontExtensions.h"

namespace ViewKit {

ui::Font font(const desktop::NSFont& font) {
    return ui::Font::custom(font.fontName(), font.pointSize());
}

ui::Font fixedFont(const desktop::NSFont& font) {
    return ui::Font::custom(font.fontName(), ui::Font::FixedSize{font.pointSize()});
}

} // namespace ViewKit
