#include "ui/Link.h"

#include "PressGesture.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Rectangle.h"
#include "ui/TintShapeStyle.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

struct LinkBody {
    foundation::URL destination;
    View label;

    View body(ViewContext& ctx) const {
        const auto& openURL = ctx.environment<OpenURLKey>();
        const bool enabled = ctx.environment<IsEnabledKey>();
        auto pressed = ctx.state<bool>("isPressed", false);
        return label.foregroundStyle(TintShapeStyle{})
            .contentShape(Rectangle())
            .gesture(detail::PressGesture([openURL, url = destination] { openURL(url); },
                                          [pressed](bool down) { pressed.set(down); }))
            .opacity((*pressed ? 0.6 : 1) * (enabled ? 1 : 0.45))
            .accessibilityAddTraits(AccessibilityTraits::isLink);
    }
};

} // namespace

Link::Link(Text title, foundation::URL destination)
    : Link(std::move(destination), View(std::move(title))) {}

Link::Link(foundation::URL destination, View label)
    : View(LinkBody{std::move(destination), std::move(label)}) {}

} // namespace ui
