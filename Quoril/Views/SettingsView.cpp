#include "Views/SettingsView.h"

#include "ui/Font.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Text.h"

namespace quoril {

ui::View SettingsView::body(ui::ViewContext&) const {
    return ui::View(ui::Text("Settings"))
        .font(ui::Font::title3())
        .foregroundStyle(ui::HierarchicalShapeStyle::secondary)
        .padding(40)
        .frame(600, std::nullopt);
}

} // namespace quoril
