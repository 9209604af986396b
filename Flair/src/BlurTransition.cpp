#include "Flair/BlurTransition.h"

#include "TransitionSupport.h"

namespace Flair {

ui::View Blur::body(ui::ViewContext&, ui::View content) const {
    return content.blur(radius, false);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition blur() {
    return blur(30);
}

ui::AnyTransition blur(double radius) {
    return ui::AnyTransition::modifier(Blur{radius}, Blur{0});
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair

std::size_t std::hash<Flair::Blur>::operator()(const Flair::Blur& blur) const noexcept {
    return Flair::detail::hashValue(blur.radius);
}
