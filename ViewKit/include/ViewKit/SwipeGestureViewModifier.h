#pragma once

#include "ViewKit/ViewOperation.h"

#include "foundation/Date.h"
#include "graphics/CGFloat.h"
#include "graphics/CGSize.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <optional>

namespace ViewKit {

// How long a gesture has run: started at its first change, read at its end. Shared by
// reference between a swipe modifier and its gesture's callbacks; main thread only.
class GestureTimer {
public:
    // When the measurement started; none before the first start.
    std::optional<foundation::Date> date() const { return date_; }
    void setDate(std::optional<foundation::Date> date) { date_ = date; }
    // Seconds since the start (foundation::Date::now()); 0 before it.
    double time() const;
    // Starts the measurement unless it has started: the first start wins.
    void start();

private:
    std::optional<foundation::Date> date_;
};

enum class SwipeDirection { up, left, right, down };

// The swipe a drag makes, or none. It counts only if it took less than `maximumTime` seconds
// (so never when that is 0 or less) and its longer extent is at most `maximumDistance`. It goes
// along its longer axis — horizontally on a tie — towards the side it moved to, right or down
// when it did not move (y grows downward).
std::optional<SwipeDirection> swipeDirection(double time, double maximumTime, graphics::CGSize translation,
                                             graphics::CGFloat maximumDistance);

// Turns one drag on the view into at most one of four callbacks. The drag begins once the
// pointer has moved `minimumDistance`; it is timed from its first change to its end, and each
// drag, ended or cancelled, clears the timer for the next. An absent callback means nothing
// happens for that direction. The view's own gestures and those inside it stay active.
struct SwipeGestureViewModifier {
    double maximumTime = 1;
    graphics::CGFloat minimumDistance = 10;
    graphics::CGFloat maximumDistance = 100000;
    std::shared_ptr<GestureTimer> gestureTimer = std::make_shared<GestureTimer>();
    std::function<void()> up;
    std::function<void()> left;
    std::function<void()> right;
    std::function<void()> down;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

// view | onSwipeGesture(1.0, 10, 100000, std::make_shared<GestureTimer>(), up, left, right, down)
ViewOperation onSwipeGesture(double maximumTime, graphics::CGFloat minimumDistance,
                             graphics::CGFloat maximumDistance, std::shared_ptr<GestureTimer> gestureTimer,
                             std::function<void()> up = {}, std::function<void()> left = {},
                             std::function<void()> right = {}, std::function<void()> down = {});

} // namespace ViewKit
