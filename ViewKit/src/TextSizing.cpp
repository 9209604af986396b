#include "ViewKit/TextSizing.h"

namespace ViewKit {

ui::View fixedVertically(const ui::Text& text) {
    return ui::View(text).fixedSize(false, true);
}

ui::View fixedHorizontally(const ui::Text& text) {
    return ui::View(text).fixedSize(true, false);
}

} // namespace ViewKit
