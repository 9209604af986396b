#include "ViewKit/SystemFontPicker.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/SystemFontPickerItem.h"

#include "foundation/TextCase.h"
#include "ui/ForEach.h"
#include "ui/Picker.h"

#include <algorithm>

namespace ViewKit {

namespace {

// How well a selected name (lower case) names a family: 0 not at all, 1 by a prefix (more with
// a longer family), the most when equal.
std::size_t matchScore(const std::string& selected, const SystemFontPickerFont& font) {
    constexpr std::size_t exact = std::string::npos;
    const std::string family = foundation::lowercased(font.fontName);
    if (family.empty())
        return selected == foundation::lowercased(SystemFontPickerFont::systemFontName) ? exact : 0;
    if (selected == family) return exact;
    std::string joined = family, hyphened = family;
    std::erase(joined, ' ');
    std::replace(hyphened.begin(), hyphened.end(), ' ', '-');
    if (selected.starts_with(joined) || selected.starts_with(hyphened)) return 1 + family.size();
    return 0;
}

} // namespace

SystemFontPicker::SystemFontPicker(ui::Binding<std::string> selectedFontName,
                                   std::vector<SystemFontPickerFont> fonts, double itemFontSize)
    : fonts(std::move(fonts))
    , itemFontSize(itemFontSize)
    , selectedFontName(std::move(selectedFontName)) {
    selectedFont = matchingFont(this->fonts, this->selectedFontName.get());
}

std::optional<SystemFontPickerFont>
SystemFontPicker::matchingFont(const std::vector<SystemFontPickerFont>& fonts,
                               std::string_view selectedName) {
    const std::string selected = foundation::lowercased(selectedName);
    std::optional<SystemFontPickerFont> best;
    std::size_t bestScore = 0;
    for (const auto& font : fonts) {
        const std::size_t score = matchScore(selected, font);
        if (score > 0 && score >= bestScore) {
            best = font;
            bestScore = score;
        }
    }
    return best;
}

ui::View SystemFontPicker::body(ui::ViewContext&) const {
    detail::requireMainActor("SystemFontPicker");
    const std::string current = selectedFontName.get();
    auto rows = ui::ForEach(
        fonts, [](const SystemFontPickerFont& font) { return font.id(); },
        [size = itemFontSize, selected = selectedFont, current](const SystemFontPickerFont& font) {
            const bool matched = selected && selected->fontName == font.fontName;
            return ui::View(SystemFontPickerItem{font, size, false}.label())
                .tag(matched ? current : font.fontName);
        });
    return ui::Picker(ui::View(), selectedFontName, ui::View(rows));
}

} // namespace ViewKit
