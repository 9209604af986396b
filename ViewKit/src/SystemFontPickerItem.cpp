#include "ViewKit/SystemFontPickerItem.h"

#include "ViewKit/ListSelectItem.h"
#include "ViewKit/MainActor.h"

#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/Text.h"

namespace ViewKit {

ui::View SystemFontPickerItem::body(ui::ViewContext&) const {
    detail::requireMainActor("SystemFontPickerItem");
    return row();
}

ui::Text SystemFontPickerItem::label() const {
    return ui::Text::verbatim(font.fontDisplayName).font(ui::Font::custom(font.fontName, fontSize));
}

ui::View SystemFontPickerItem::row() const {
    // The name comes first: the stack would otherwise cut it at half the row for the spacer.
    const ListSelectItem item{isSelected, ui::View(ui::Image::systemName("checkmark")),
                              [label = label()] { return ui::View(label).layoutPriority(1); }};
    return item.row();
}

} // namespace ViewKit
