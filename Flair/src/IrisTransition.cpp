#include "Flair/IrisTransition.h"

#include "TransitionSupport.h"

#include "ui/Circle.h"
#include "ui/Color.h"
#include "ui/GeometryReader.h"
#include "ui/ShapeView.h"

#include <algorithm>
#include <cmath>

namespace Flair {

double Iris::diameter(ui::UnitPoint origin, double progress, graphics::CGSize size) {
    const double x = 2 * size.width * std::max(1 - origin.x, origin.x);
    const double y = 2 * size.height * std::max(1 - origin.y, origin.y);
    return progress * std::sqrt(x * x + y * y);
}

ui::View Iris::body(ui::ViewContext&, ui::View content) const {
    const Iris iris = *this;
    ui::GeometryReader circle([iris](const ui::GeometryProxy& proxy) {
        const graphics::CGSize size = proxy.size();
        const double d = diameter(iris.origin, iris.animatableData, size);
        // Opaque, so the view shows fully inside the circle.
        return ui::Circle()
            .fill(ui::Color::black)
            .frame(d, d)
            .position({size.width * iris.origin.x, size.height * iris.origin.y})
            .blur((1 - iris.animatableData) * iris.blurRadius, false);
    });
    return content.mask(circle);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition iris(ui::UnitPoint origin, double blurRadius) {
    const double b = detail::clampedBlurRadius(blurRadius);
    return detail::progressTransition<Iris>([origin, b](double p) { return Iris{origin, b, p}; });
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
