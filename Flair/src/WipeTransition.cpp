#include "Flair/WipeTransition.h"

#include "Flair/RotatedBoundingSize.h"
#include "TransitionSupport.h"

#include "ui/Color.h"
#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"

#include <numbers>
#include <optional>

namespace Flair {

ui::Angle Wipe::angleOf(ui::Edge edge) {
    switch (edge) {
    case ui::Edge::top:
        return ui::Angle::radians(std::numbers::pi / 2);
    case ui::Edge::leading:
        return ui::Angle::radians(0);
    case ui::Edge::bottom:
        return ui::Angle::radians(3 * std::numbers::pi / 2);
    case ui::Edge::trailing:
        return ui::Angle::radians(std::numbers::pi);
    }
    return {};
}

ui::View Wipe::body(ui::ViewContext&, ui::View content) const {
    const double p = animatableData.first;
    const double b = animatableData.second;
    const ui::Angle a = angle;
    // The opaque part grows from the leading side of a rectangle that covers the view at the
    // angle; the reader is enlarged by the blur so the soft edge starts outside the view.
    ui::GeometryReader reader([p, b, a](const ui::GeometryProxy& proxy) {
        const graphics::CGSize size = proxy.size();
        const graphics::CGSize cover = rotatedBoundingSize(a.radians(), size.width, size.height);
        return ui::ZStack(ui::Alignment::leading,
                          {ui::View(ui::Color::clear),
                           ui::Rectangle().fill(ui::Color::black).frame(cover.width * p, std::nullopt)})
            .frame(cover.width, cover.height)
            .position({size.width / 2, size.height / 2})
            .rotationEffect(a)
            .animation(std::nullopt, p)
            .animation(std::nullopt, a)
            .blur((1 - p) * b, false)
            .compositingGroup();
    });
    return content.mask(ui::View(reader).padding(-b).animation(std::nullopt, animatableData));
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition wipe(ui::Edge edge, double blurRadius) {
    return wipe(Wipe::angleOf(edge), blurRadius);
}

ui::AnyTransition wipe(ui::Angle angle, double blurRadius) {
    const double b = detail::clampedBlurRadius(blurRadius);
    return ui::AnyTransition::modifier(Wipe{angle, {0, b}}, Wipe{angle, {1, b}});
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
