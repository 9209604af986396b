#include "Views/SettingsSpacer.h"

#include "Views/Utilities.h"

#include "ui/Spacer.h"

namespace quoril {

ui::View SettingsSpacer::body(ui::ViewContext&) const {
    return ui::View(ui::Spacer(multiply * Utilities::spacing)).fixedSize();
}

} // namespace quoril
