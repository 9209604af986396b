#include "ViewKit/ListSelectItem.h"

#include "ViewKit/MainActor.h"

#include "ui/Spacer.h"
#include "ui/Stack.h"

namespace ViewKit {

ui::View ListSelectItem::body(ui::ViewContext&) const {
    detail::requireMainActor("ListSelectItem");
    return ui::HStack(ui::VerticalAlignment::center, std::nullopt,
                      {content ? content() : ui::View(), ui::Spacer(), isSelected ? selectedIndicator : ui::View()});
}

} // namespace ViewKit
