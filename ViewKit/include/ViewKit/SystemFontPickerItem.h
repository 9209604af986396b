#pragma once

#include "ViewKit/SystemFontPickerFont.h"

#include "ui/Text.h"
#include "ui/View.h"

namespace ViewKit {

// A font picker's row: the font's display name in its own face, and a check mark while
// selected.
struct SystemFontPickerItem {
    SystemFontPickerFont font;
    double fontSize;
    bool isSelected;

    ui::View body(ui::ViewContext& ctx) const;
    ui::View row() const;
    // The font's display name in its own face: the row's content, and a pop-up menu's entry.
    ui::Text label() const;
};

} // namespace ViewKit
