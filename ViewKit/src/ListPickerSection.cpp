#include "ViewKit/ListPickerSection.h"

#include "ViewKit/StringExtensions.h"

#include "foundation/CharacterSet.h"
#include "ui/Text.h"

namespace ViewKit {

std::optional<ui::View> listPickerSectionHeader(const std::string& title) {
    if (trimmed(title, foundation::CharacterSet::whitespaces()).empty()) return std::nullopt;
    return ui::View(ui::Text::verbatim(title));
}

} // namespace ViewKit
