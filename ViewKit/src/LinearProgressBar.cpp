#include "ViewKit/LinearProgressBar.h"

#include "ViewKit/MainActor.h"

#include "ui/Capsule.h"
#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"

#include <algorithm>
#include <cmath>

namespace ViewKit {

ViewOperation linearProgressBarStyle(LinearProgressBarStyle style) {
    detail::requireMainActor("linearProgressBarStyle");
    return ViewOperation(
        [style](const ui::View& view) { return view.environment(LinearProgressBarStyleKey{}, style); });
}

LinearProgressBarStyle LinearProgressBarStyle::padded() {
    LinearProgressBarStyle style;
    style.barPadding = 2;
    return style;
}

LinearProgressBarStyle LinearProgressBarStyle::large() {
    LinearProgressBarStyle style;
    style.height = 16;
    style.barPadding = 3;
    return style;
}

graphics::CGFloat LinearProgressBar::barWidth(graphics::CGFloat width, double progress, double barPadding) {
    // Not (progress > 0) is also true for NaN.
    if (!(progress > 0)) return 0;
    return std::max<graphics::CGFloat>(0, width - 2 * barPadding) * progress;
}

ui::View LinearProgressBar::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("LinearProgressBar");
    const LinearProgressBarStyle style = ctx.environment<LinearProgressBarStyleKey>();
    const double progress = this->progress;
    return ui::GeometryReader([style, progress](const ui::GeometryProxy& proxy) {
               detail::requireMainActor("LinearProgressBar");
               const ui::View track =
                   ui::View(style.backgroundColor)
                       .overlay(ui::Rectangle().fill(style.backgroundMaterial.opacity(style.backgroundMaterialOpacity)))
                       .frame(std::nullopt, style.height);
               const ui::View bar =
                   (ui::View(style.barColor)
                        .frame(barWidth(proxy.size().width, progress, style.barPadding), std::nullopt)
                        .clipShape(ui::Capsule()) |
                    shadow(style.barShadow))
                       .padding(style.barPadding);
               return track.overlay(bar, ui::Alignment::leading).clipShape(ui::Capsule());
           })
        .frame(std::nullopt, style.height)
        .animation(style.animation, std::isnan(progress) ? 0.0 : progress)
        .accessibilityElement(ui::AccessibilityChildBehavior::ignore);
}

} // namespace ViewKit
