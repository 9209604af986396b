#include "Handles.h"
#include "TestBox.h"

#include "ui/Clock.h"
#include "ui/DisplayClock.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uitest;

namespace {

TEST(ClockTest, FramesCarryTheirTimeTheStepSinceTheLastAndTheDate) {
    ui::TestHost host(box(10, 10));
    EXPECT_EQ(&host.graph().clock(), &host.frameClock());
    std::vector<ui::Frame> frames;
    auto subscription = host.frameClock().onFrame([&](const ui::Frame& frame) { frames.push_back(frame); });
    const double start = host.clock().uptime();
    host.stepFrame();
    host.stepFrame(0.5);
    host.update(); // no time passes, so no frame
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_DOUBLE_EQ(frames[0].time, start + 1.0 / 60);
    EXPECT_DOUBLE_EQ(frames[0].interval, 1.0 / 60); // the first has the nominal length
    EXPECT_DOUBLE_EQ(frames[1].interval, 0.5);
    EXPECT_DOUBLE_EQ(frames[1].date.timeIntervalSince(frames[0].date), 0.5);

    // After a pause with nobody listening, the first frame is one frame long again.
    subscription.cancel();
    host.stepFrame(2);
    subscription = host.frameClock().onFrame([&](const ui::Frame& frame) { frames.push_back(frame); });
    host.stepFrame(0.25);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_DOUBLE_EQ(frames[2].interval, 1.0 / 60);
}

TEST(ClockTest, CancellingDuringAFrameAndOutlivingTheClockAreSafe) {
    auto clock = std::make_unique<ui::ManualClock>();
    std::vector<std::string> calls;
    ui::FrameSubscription second;
    ui::FrameSubscription first = clock->onFrame([&](const ui::Frame&) {
        calls.push_back("first");
        second.cancel();
        first.cancel();
    });
    second = clock->onFrame([&](const ui::Frame&) { calls.push_back("second"); });
    ui::FrameSubscription third = clock->onFrame([&](const ui::Frame&) { calls.push_back("third"); });
    clock->tick();
    clock->tick();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "third", "third"}));
    EXPECT_FALSE(first.isActive());
    EXPECT_TRUE(third.isActive());
    clock.reset();
    EXPECT_FALSE(third.isActive());
    third.cancel(); // the clock is gone: nothing to do
}

TEST(ClockTest, ACallbackThatOwnsAnotherSubscriptionCanBeCancelled) {
    ui::ManualClock clock;
    std::vector<std::string> calls;
    struct Holder {
        ui::FrameSubscription owned;
    };
    auto holder = std::make_shared<Holder>();
    // Dropping the first callback drops the holder and with it the second subscription.
    ui::FrameSubscription first = clock.onFrame([holder](const ui::Frame&) {});
    holder->owned = clock.onFrame([&](const ui::Frame&) { calls.push_back("second"); });
    ui::FrameSubscription third = clock.onFrame([&](const ui::Frame&) { calls.push_back("third"); });
    ui::FrameSubscription fourth = clock.onFrame([&](const ui::Frame&) { calls.push_back("fourth"); });
    holder.reset();
    first.cancel();
    clock.tick();
    EXPECT_EQ(calls, (std::vector<std::string>{"third", "fourth"}));
    EXPECT_TRUE(third.isActive());
    EXPECT_TRUE(fourth.isActive());
}

TEST(ClockTest, AClockDestroyedByACallbackDeliversNothingMore) {
    auto clock = std::make_unique<ui::ManualClock>();
    int later = 0;
    ui::FrameSubscription first = clock->onFrame([&](const ui::Frame&) { clock.reset(); });
    ui::FrameSubscription second = clock->onFrame([&](const ui::Frame&) { ++later; });
    clock->tick();
    EXPECT_EQ(later, 0);
    EXPECT_FALSE(second.isActive());
}

// Moves a counter on at every frame while it runs, as an animation would.
struct Ticker {
    HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        handles->keep("count", count);
        return box(10, 10, "count " + std::to_string(count.value()));
    }
};

TEST(ClockTest, AWriteInAFrameCallbackIsShownInTheSameStepWithAnEmptyTransaction) {
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Ticker{handles});
    bool emptyTransaction = false;
    auto subscription = host.frameClock().onFrame([&](const ui::Frame&) {
        emptyTransaction = ui::Transaction::current().isEmpty();
        (*handles)["count"].modify([](int& count) { ++count; });
    });
    ui::Transaction disabling;
    disabling.disablesAnimations = true;
    ui::withTransaction(disabling, [&] { host.stepFrame(); });
    EXPECT_TRUE(emptyTransaction);
    EXPECT_NE(host.findByText("count 1"), nullptr);
    host.stepFrames(2);
    EXPECT_NE(host.findByText("count 3"), nullptr);
}

TEST(DisplayClockTest, TicksOnlyWhileSomethingListens) {
    ui::DisplayClock clock;
    EXPECT_FALSE(clock.isTicking());
    {
        auto subscription = clock.onFrame([](const ui::Frame&) {});
        EXPECT_TRUE(clock.isTicking());
    }
    EXPECT_FALSE(clock.isTicking());
    clock.setRefreshRate(120);
    EXPECT_DOUBLE_EQ(clock.frameInterval(), 1.0 / 120);
    clock.setRefreshRate(0); // what a screen reports when it does not know
    EXPECT_DOUBLE_EQ(clock.refreshRate(), ui::DisplayClock::defaultRefreshRate);
}

} // namespace
