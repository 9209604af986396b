#include "Views/ItemToggleStyle.h"

#include "Views/Colors.h"

#include "ui/Circle.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/StrokeStyle.h"
#include "ui/Transaction.h"

namespace quoril {

ui::View ItemToggleStyle::makeBody(const ui::ToggleStyleConfiguration& configuration) const {
    const bool on = configuration.isOn;
    ui::View ring = ui::View(ui::Circle().fill(ui::Color::clear))
                        .overlay(ui::Circle().stroke(trafficLightYellow(), ui::StrokeStyle{.lineWidth = 1}))
                        .frame(16, 16);
    if (on || anticipate)
        ring = ring.overlay(ui::Circle().fill(ui::HierarchicalShapeStyle::primary).opacity(on ? 1.0 : 0.3).padding(1.5));
    return ring.contentShape(ui::Circle()).onTapGesture(1, [configuration] {
        ui::withAnimation([&] { configuration.toggle(); });
    });
}

} // namespace quoril
