#include "TestBox.h"

#include "ViewKit/SwipeGestureViewModifier.h"

#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using graphics::CGPoint;
using graphics::CGSize;

struct Limits {
    double maximumTime = 1.0;
    double minimumDistance = 10;
    double maximumDistance = 100000;
};

// A pad that logs the swipes it reports; `only` keeps one callback (the others absent).
class SwipePad {
public:
    explicit SwipePad(Limits limits = {}, std::string only = {}, bool tappable = false)
        : host_(pad(limits, only, tappable), {400, 400}) {}

    // Presses at the pad's centre, moves half way (the drag's first change), waits `seconds`,
    // then ends `translation` from the press.
    std::string drag(CGSize translation, double seconds) {
        log_->clear();
        const auto frame = ui::TestHost::frame(host_.findByText("pad"));
        const CGPoint start{frame.midX(), frame.midY()};
        host_.pointerDown(start);
        host_.pointerMove({start.x + translation.width / 2, start.y + translation.height / 2});
        host_.clock().advance(seconds);
        host_.pointerMove({start.x + translation.width, start.y + translation.height});
        host_.pointerUp({start.x + translation.width, start.y + translation.height});
        return *log_;
    }
    ui::TestHost& host() { return host_; }
    const std::string& log() const { return *log_; }

private:
    ui::View pad(Limits limits, const std::string& only, bool tappable) {
        const auto note = [log = log_, only](std::string direction) -> std::function<void()> {
            if (!only.empty() && only != direction) return {};
            return [log, direction] { *log += direction; };
        };
        ui::View content = uitest::box(300, 300, "pad");
        if (tappable) content = content.onTapGesture(1, [log = log_] { *log += "tap"; });
        return content |
               ViewKit::onSwipeGesture(limits.maximumTime, limits.minimumDistance, limits.maximumDistance,
                                       std::make_shared<ViewKit::GestureTimer>(), note("up"), note("left"),
                                       note("right"), note("down"));
    }

    std::shared_ptr<std::string> log_ = std::make_shared<std::string>();
    ui::TestHost host_;
};

} // namespace

TEST(SwipeGestureTest, ADragCountsOnlyWhenQuickEnough) {
    SwipePad pad;
    EXPECT_EQ(pad.drag({80, 0}, 0.99), "right");
    EXPECT_EQ(pad.drag({80, 0}, 1.0), "");
    EXPECT_EQ(pad.drag({80, 0}, 0.2), "right") << "after a slow drag a quick one counts";
    EXPECT_EQ(pad.drag({80, 0}, 3), "");
    EXPECT_EQ(pad.drag({-80, 0}, 0), "left");

    SwipePad never(Limits{.maximumTime = 0});
    EXPECT_EQ(never.drag({80, 0}, 0), "");
    SwipePad negative(Limits{.maximumTime = -1});
    EXPECT_EQ(negative.drag({0, 80}, 0), "");
}

TEST(SwipeGestureTest, TheLongerAxisAndItsSignPickTheDirection) {
    SwipePad pad;
    EXPECT_EQ(pad.drag({30, -30}, 0.1), "right") << "a tie goes horizontal";
    EXPECT_EQ(pad.drag({-5, 40}, 0.1), "down");
    EXPECT_EQ(pad.drag({-5, -40}, 0.1), "up");
    EXPECT_EQ(pad.drag({-40, 39}, 0.1), "left");

    SwipePad still(Limits{.minimumDistance = 0});
    EXPECT_EQ(still.drag({0, 0}, 0.1), "right") << "no movement counts as right";
}

TEST(SwipeGestureTest, TheLongerExtentMayReachTheMaximumButNotPassIt) {
    SwipePad pad(Limits{.maximumDistance = 50});
    EXPECT_EQ(pad.drag({50, 10}, 0.1), "right");
    EXPECT_EQ(pad.drag({10, -50}, 0.1), "up");
    EXPECT_EQ(pad.drag({51, 10}, 0.1), "");
    EXPECT_EQ(pad.drag({0, 51}, 0.1), "");
}

TEST(SwipeGestureTest, AnAbsentCallbackCallsNothingAndTheViewsOwnGesturesStay) {
    SwipePad pad({}, "left", true);
    EXPECT_EQ(pad.drag({80, 0}, 0.1), "") << "no fallback to another direction";
    EXPECT_EQ(pad.drag({0, -80}, 0.1), "");
    EXPECT_EQ(pad.drag({-80, 0}, 0.1), "left");
    pad.host().tap(pad.host().findByText("pad"));
    EXPECT_EQ(pad.log(), "lefttap");
}

TEST(SwipeGestureTest, TheDecisionIsAFunctionOfTimeTranslationAndLimits) {
    using ViewKit::SwipeDirection;
    EXPECT_EQ(ViewKit::swipeDirection(0.5, 1, {30, -30}, 100), SwipeDirection::right);
    EXPECT_EQ(ViewKit::swipeDirection(0.5, 1, {-5, -40}, 100), SwipeDirection::up);
    EXPECT_EQ(ViewKit::swipeDirection(1, 1, {80, 0}, 100), std::nullopt);
    EXPECT_EQ(ViewKit::swipeDirection(0, 0, {80, 0}, 100), std::nullopt);
    EXPECT_EQ(ViewKit::swipeDirection(0.5, 1, {std::nan(""), 0}, 100), std::nullopt) << "no direction from NaN";

    ViewKit::GestureTimer timer;
    EXPECT_EQ(timer.time(), 0);
    foundation::ScopedManualClock clock(foundation::Date(100));
    timer.start();
    clock->advance(2);
    timer.start();
    EXPECT_DOUBLE_EQ(timer.time(), 2) << "the first start wins";
}
