#include "ViewKit/SwipeGestureViewModifier.h"

#include "ViewKit/MainActor.h"

#include "ui/Gesture.h"

#include <cmath>

namespace ViewKit {

double GestureTimer::time() const {
    if (!date_) return 0;
    return foundation::Date::now().timeIntervalSince(*date_);
}

void GestureTimer::start() {
    if (!date_) date_ = foundation::Date::now();
}

std::optional<SwipeDirection> swipeDirection(double time, double maximumTime, graphics::CGSize translation,
                                             graphics::CGFloat maximumDistance) {
    if (!(time < maximumTime)) return std::nullopt;
    const auto horizontal = std::abs(translation.width);
    const auto vertical = std::abs(translation.height);
    const bool isVertical = horizontal < vertical;
    const auto extent = isVertical ? vertical : horizontal;
    if (maximumDistance < extent || std::isnan(extent)) return std::nullopt;
    if (isVertical) return translation.height < 0 ? SwipeDirection::up : SwipeDirection::down;
    return translation.width < 0 ? SwipeDirection::left : SwipeDirection::right;
}

ui::View SwipeGestureViewModifier::body(ui::ViewContext&, ui::View content) const {
    detail::requireMainActor("SwipeGestureViewModifier");
    const auto timer = gestureTimer ? gestureTimer : std::make_shared<GestureTimer>();
    const auto ended = [modifier = *this, timer](const ui::DragGesture::Value& value) {
        detail::requireMainActor("SwipeGestureViewModifier");
        const double time = timer->time();
        // Each drag is timed from its own first change.
        timer->setDate(std::nullopt);
        const auto direction = swipeDirection(time, modifier.maximumTime, value.translation, modifier.maximumDistance);
        if (!direction) return;
        const std::function<void()>* callback = nullptr;
        switch (*direction) {
        case SwipeDirection::up:
            callback = &modifier.up;
            break;
        case SwipeDirection::left:
            callback = &modifier.left;
            break;
        case SwipeDirection::right:
            callback = &modifier.right;
            break;
        case SwipeDirection::down:
            callback = &modifier.down;
            break;
        }
        if (*callback) (*callback)();
    };
    const auto drag = ui::DragGesture(minimumDistance, ui::CoordinateSpace::local)
                          .onChanged([timer](const ui::DragGesture::Value&) {
                              detail::requireMainActor("SwipeGestureViewModifier");
                              timer->start();
                          })
                          .onEnded(ended)
                          .onCancelled([timer] { timer->setDate(std::nullopt); });
    return content.gesture(drag, ui::GestureMask::all);
}

ViewOperation onSwipeGesture(double maximumTime, graphics::CGFloat minimumDistance,
                             graphics::CGFloat maximumDistance, std::shared_ptr<GestureTimer> gestureTimer,
                             std::function<void()> up, std::function<void()> left, std::function<void()> right,
                             std::function<void()> down) {
    detail::requireMainActor("onSwipeGesture");
    return ViewOperation([modifier = SwipeGestureViewModifier{maximumTime, minimumDistance, maximumDistance,
                                                              std::move(gestureTimer), std::move(up), std::move(left),
                                                              std::move(right), std::move(down)}](
                             const ui::View& view) { return view.modifier(modifier); });
}

} // namespace ViewKit
