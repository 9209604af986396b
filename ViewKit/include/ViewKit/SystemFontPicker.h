#pragma once

#include "ViewKit/SystemFontPickerFont.h"

#include "ui/Binding.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ViewKit {

// The fonts as a pop-up picker over the selected name itself. The font that the selected name
// names is worked out when the picker is made; its row carries the caller's exact name, so a
// face name ("HelveticaNeue-Bold") stays as it is until another font is chosen.
struct SystemFontPicker {
    std::vector<SystemFontPickerFont> fonts;
    double itemFontSize;
    std::optional<SystemFontPickerFont> selectedFont;
    ui::Binding<std::string> selectedFontName;

    SystemFontPicker(ui::Binding<std::string> selectedFontName, std::vector<SystemFontPickerFont> fonts,
                     double itemFontSize);

    // The font `selectedName` names: one whose name equals it ignoring case, else the one with
    // the longest family name it begins with (spaces dropped or made hyphens), the last one on
    // a tie. An empty font name stands for the system font name.
    static std::optional<SystemFontPickerFont> matchingFont(const std::vector<SystemFontPickerFont>& fonts,
                                                            std::string_view selectedName);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
