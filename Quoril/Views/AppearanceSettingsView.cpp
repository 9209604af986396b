#include "Views/AppearanceSettingsView.h"

#include "Prefs/Default.h"
#include "QuorilShared/DockIconKey.h"
#include "QuorilShared/MacAppIcon.h"
#include "desktop/Application.h"
#include "foundation/Bundle.h"
#include "graphics/Image.h"
#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/ForEach.h"
#include "ui/Form.h"
#include "ui/FormStyle.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Image.h"
#include "ui/RoundedRectangle.h"
#include "ui/Section.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <optional>
#include <vector>

namespace quoril {

namespace {

// The named image of the choice becomes the windows' icon; without one the bundle's own
// icon comes back.
void setApplicationIcon(MacAppIcon icon) {
    graphics::Image image = graphics::Image::named(*foundation::Bundle::main(), imageName(icon));
    desktop::Application::shared().setApplicationIconImage(image.isNull() ? std::nullopt
                                                                           : std::optional(std::move(image)));
}

ui::View iconButton(MacAppIcon icon, const Prefs::Default<MacAppIcon>& dockIcon, double cornerRadius) {
    ui::View ring = dockIcon.wrappedValue() == icon
                        ? ui::RoundedRectangle(cornerRadius, ui::RoundedCornerStyle::continuous)
                              .inset(3)
                              .stroke(ui::HierarchicalShapeStyle::secondary, ui::StrokeStyle{.lineWidth = 1.5})
                        : ui::View();
    ui::View label = ui::View(ui::Image(imageName(icon)).resizable()).scaledToFit().background(ring);
    return ui::View(ui::Button([dockIcon, icon] { dockIcon.setWrappedValue(icon); }, label))
        .buttonStyle(ui::PlainButtonStyle{})
        .frame(60, 60)
        .id(id(icon));
}

} // namespace

ui::View AppearanceSettingsView::body(ui::ViewContext& ctx) const {
    Prefs::Default<MacAppIcon> dockIcon(ctx, "dockIcon", quoril::dockIcon());
    std::vector<ui::View> buttons;
    for (MacAppIcon icon : allMacAppIcons)
        buttons.push_back(iconButton(icon, dockIcon, cornerRadius));
    ui::View icons = ui::View(ui::HStack(ui::VerticalAlignment::center, std::nullopt, std::move(buttons)))
                         .onChange(dockIcon.wrappedValue(), [](MacAppIcon now) { setApplicationIcon(now); });
    return ui::VStack(ui::HorizontalAlignment::center, 0,
                      {ui::View(ui::Form(ui::View(ui::Section(ui::Text("Dock Icon"), icons))))
                           .formStyle(ui::FormStyle::grouped)
                           .fixedSize(false, true)});
}

} // namespace quoril
