#include "ViewKit/ListPickerItem.h"

#include "ViewKit/ViewConditionals.h"

#include "ui/Image.h"

namespace ViewKit {

ui::View checkmark(bool isSelected) {
    return ui::View(ui::Image::systemName("checkmark")) | visible(isSelected);
}

} // namespace ViewKit
