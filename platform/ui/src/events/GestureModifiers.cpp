#include "EventNodes.h"

#include "ui/EventTargets.h"

namespace ui {

View View::onTapGesture(int count, std::function<void()> action) const {
    return gesture(TapGesture(count).onEnded(std::move(action)));
}

View View::onLongPressGesture(double minimumDuration, CGFloat maximumDistance, std::function<void()> action,
                              std::function<void(bool)> onPressingChanged) const {
    return gesture(LongPressGesture(minimumDuration, maximumDistance)
                       .onEnded(std::move(action))
                       .onChanged(std::move(onPressingChanged)));
}

View View::gesture(const Gesture& gesture, GestureMask mask) const {
    return apply([g = gesture.clone(), mask](View content) {
        return View(std::make_shared<detail::GestureNode>(std::move(content), g, mask, false));
    });
}

View View::simultaneousGesture(const Gesture& gesture, GestureMask mask) const {
    return apply([g = gesture.clone(), mask](View content) {
        return View(std::make_shared<detail::GestureNode>(std::move(content), g, mask, true));
    });
}

View View::onHover(std::function<void(bool)> action) const {
    return apply([action = std::move(action)](View content) {
        return View(std::make_shared<detail::HoverNode>(std::move(content), action));
    });
}

View secondaryClickTarget(View content, std::function<void(graphics::CGPoint)> action) {
    return View(std::make_shared<detail::SecondaryClickNode>(std::move(content), std::move(action)));
}

} // namespace ui
