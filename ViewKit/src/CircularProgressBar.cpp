#include "ViewKit/CircularProgressBar.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/ViewAnyView.h"

#include "ui/Angle.h"
#include "ui/Circle.h"
#include "ui/StrokeStyle.h"
#include "ui/Text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace ViewKit {

ViewOperation circularProgressBarStyle(CircularProgressBarStyle style) {
    detail::requireMainActor("circularProgressBarStyle");
    return ViewOperation(
        [style](const ui::View& view) { return view.environment(CircularProgressBarStyleKey{}, style); });
}

std::string CircularProgressBar::title(double progress, int decimals) {
    const double percentage = std::isnan(progress) ? 0 : std::clamp(progress * 100, 0.0, 100.0);
    return fmt::format("{:.{}f}%", percentage, std::max(decimals, 0));
}

ui::View CircularProgressBar::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("CircularProgressBar");
    const CircularProgressBarStyle style = ctx.environment<CircularProgressBarStyleKey>();
    const double end = std::isnan(progress) ? 0 : progress;

    const ui::View base = ui::Circle()
                              .stroke(style.strokeColor, ui::StrokeStyle{.lineWidth = style.strokeWidth})
                              .background(ui::Circle().fill(style.backgroundColor));
    const ui::View arc = ui::Circle()
                             .trim(0, end)
                             .stroke(style.progressColor,
                                     ui::StrokeStyle{.lineWidth = style.progressWidth,
                                                     .lineCap = graphics::CGLineCap::round,
                                                     .lineJoin = graphics::CGLineJoin::round})
                             .rotationEffect(ui::Angle::degrees(style.startAngle - 90))
                             .animation(style.animation, end);
    ui::View titleView;
    if (style.showTitle) {
        titleView = style.titleModifier(eraseToAnyView(ui::View(ui::Text(title(progress, style.decimals)))
                                                           .lineLimit(1)
                                                           .font(style.titleFont)
                                                           .foregroundColor(style.titleColor)));
    }
    return base.overlay(style.progressModifier(eraseToAnyView(arc))).overlay(titleView);
}

} // namespace ViewKit
