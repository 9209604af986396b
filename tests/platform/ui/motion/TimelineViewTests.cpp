#include "Handles.h"
#include "TestBox.h"

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "ui/Graph.h"
#include "ui/TestHost.h"
#include "ui/TimelineView.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using namespace uitest;
using foundation::Date;

namespace {

// What a timeline's content saw, one entry per evaluation.
struct Seen {
    std::vector<Date> dates;
    std::vector<ui::Transaction> transactions;
};

// Content that records the transaction of each update that reached it.
struct Probe {
    Date date;
    std::shared_ptr<Seen> seen;
    ui::View body(ui::ViewContext& ctx) const {
        seen->transactions.push_back(ctx.transaction());
        return box(10, 10);
    }
};

ui::TimelineView recordingTimeline(ui::AnyTimelineSchedule schedule, std::shared_ptr<Seen> seen) {
    return ui::TimelineView(std::move(schedule), [seen](const ui::TimelineView::Context& context) {
        seen->dates.push_back(context.date);
        return ui::View(Probe{context.date, seen});
    });
}

TEST(TimelineViewTest, APausedTimelineBuildsOnceAndNeverListensToTheClock) {
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(recordingTimeline(ui::AnimationTimelineSchedule{std::nullopt, true}, seen));
    ASSERT_EQ(seen->dates.size(), 1u);
    EXPECT_EQ(seen->dates[0], host.clock().now());
    host.stepFrames(10);
    EXPECT_EQ(seen->dates.size(), 1u);
    EXPECT_FALSE(host.frameClock().hasSubscribers());
}

TEST(TimelineViewTest, TheAnimationScheduleShowsEveryFrameAtItsDateWithAnEmptyTransaction) {
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(recordingTimeline(ui::AnimationTimelineSchedule{}, seen));
    EXPECT_TRUE(host.frameClock().hasSubscribers());
    host.update(); // no time passes: no new entry
    EXPECT_EQ(seen->dates.size(), 1u);

    ui::Transaction disabling;
    disabling.disablesAnimations = true;
    for (int i = 0; i < 3; ++i) {
        ui::withTransaction(disabling, [&] { host.stepFrame(); });
        ASSERT_EQ(seen->dates.size(), 2u + i);
        EXPECT_EQ(seen->dates.back(), host.frameClock().lastFrame()->date);
        EXPECT_TRUE(seen->transactions.back().isEmpty());
    }
}

TEST(TimelineViewTest, AMinimumIntervalSkipsFramesButNotForADisplayTimersRounding) {
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(recordingTimeline(ui::AnimationTimelineSchedule{0.05, false}, seen));
    host.stepFrames(12); // 0.2 s of 60 Hz frames: an entry every third one
    ASSERT_EQ(seen->dates.size(), 5u);
    for (std::size_t i = 1; i < seen->dates.size(); ++i)
        EXPECT_NEAR(seen->dates[i] - seen->dates[i - 1], 0.05, 1e-9);

    // A 60 Hz display timer fires every 16 ms; an entry per 1/60 s must still come every frame.
    auto every = std::make_shared<Seen>();
    ui::TestHost display(recordingTimeline(ui::AnimationTimelineSchedule{1.0 / 60, false}, every));
    for (int i = 0; i < 6; ++i)
        display.stepFrame(0.016);
    EXPECT_EQ(every->dates.size(), 7u);
}

TEST(TimelineViewTest, APeriodicScheduleShowsItsEntriesAndSkipsTheMissedOnes) {
    // Every test host's clock starts at the same date.
    ui::TestHost probe(ui::View{});
    const Date start = probe.clock().now();
    const Date from = start + 0.1;
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(recordingTimeline(ui::PeriodicTimelineSchedule{from, 0.25}, seen));
    ASSERT_EQ(seen->dates.size(), 1u);
    EXPECT_EQ(seen->dates[0], from) << "before its start, the first entry";

    host.stepFrames(60); // one second: entries at 0.35, 0.6, 0.85 s from now
    ASSERT_EQ(seen->dates.size(), 4u);
    for (std::size_t i = 1; i < seen->dates.size(); ++i)
        EXPECT_NEAR(seen->dates[i] - from, 0.25 * double(i), 1e-9);

    host.stepFrame(2.0); // a long gap shows only the latest entry
    ASSERT_EQ(seen->dates.size(), 5u);
    EXPECT_NEAR(seen->dates.back() - from, 0.25 * 11, 1e-9);

    // Without a usable interval there is one entry, and nothing to listen for once it is shown.
    auto once = std::make_shared<Seen>();
    ui::TestHost single(recordingTimeline(ui::PeriodicTimelineSchedule{start - 1, 0}, once));
    single.stepFrames(3);
    EXPECT_EQ(once->dates.size(), 1u);
    EXPECT_FALSE(single.frameClock().hasSubscribers());
}

TEST(TimelineViewTest, AWallClockSetBackShowsTheEntryInEffectAtOnce) {
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(recordingTimeline(ui::AnimationTimelineSchedule{}, seen));
    host.stepFrames(2);
    const Date before = seen->dates.back();
    host.clock().set(before - 3600);
    host.stepFrame();
    ASSERT_EQ(seen->dates.size(), 4u) << "the frame an hour back is shown, not waited out";
    EXPECT_EQ(seen->dates.back(), host.frameClock().lastFrame()->date);
    host.stepFrame();
    EXPECT_EQ(seen->dates.size(), 5u) << "and frames go on from there";

    // A periodic timeline goes back to the entry in effect, and only when it passed one.
    ui::TestHost probe(ui::View{});
    const Date from = probe.clock().now();
    auto periodic = std::make_shared<Seen>();
    ui::TestHost every(recordingTimeline(ui::PeriodicTimelineSchedule{from, 1}, periodic));
    every.stepFrame(2.5);
    ASSERT_EQ(periodic->dates.back(), from + 2);
    every.clock().set(from + 2.2);
    every.stepFrame(0.01);
    EXPECT_EQ(periodic->dates.back(), from + 2) << "no entry passed";
    every.clock().set(from + 0.5);
    every.stepFrame(0.01);
    EXPECT_EQ(periodic->dates.back(), from);
}

// A timeline its parent pauses, shows or removes through state.
struct Controlled {
    std::shared_ptr<Seen> seen;
    HandlesPtr<bool> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto paused = ctx.state<bool>("paused", true);
        auto present = ctx.state<bool>("present", true);
        handles->keep("paused", paused);
        handles->keep("present", present);
        return ui::ConditionalContent(
            present.value(), recordingTimeline(ui::AnimationTimelineSchedule{std::nullopt, *paused}, seen),
            ui::View{});
    }
};

TEST(TimelineViewTest, StatePausesAndResumesItAndRemovingItStopsTheFrames) {
    auto seen = std::make_shared<Seen>();
    auto handles = std::make_shared<Handles<bool>>();
    ui::TestHost host(Controlled{seen, handles});
    host.stepFrames(3);
    EXPECT_EQ(seen->dates.size(), 1u);

    ui::Transaction disabling;
    disabling.disablesAnimations = true;
    ui::withTransaction(disabling, [&] { (*handles)["paused"].set(false); });
    host.update();
    ASSERT_EQ(seen->dates.size(), 2u);
    EXPECT_EQ(seen->dates[1], seen->dates[0]) << "a rebuild from outside keeps the entry shown";
    EXPECT_TRUE(seen->transactions.back().disablesAnimations);
    EXPECT_TRUE(host.frameClock().hasSubscribers());

    host.stepFrames(2);
    ASSERT_EQ(seen->dates.size(), 4u);
    EXPECT_EQ(seen->dates.back(), host.frameClock().lastFrame()->date);
    EXPECT_TRUE(seen->transactions.back().isEmpty());

    (*handles)["paused"].set(true);
    host.update();
    const auto built = seen->dates.size();
    host.stepFrames(3);
    EXPECT_EQ(seen->dates.size(), built);
    EXPECT_FALSE(host.frameClock().hasSubscribers());

    (*handles)["paused"].set(false);
    host.update();
    EXPECT_TRUE(host.frameClock().hasSubscribers());
    // Hidden as a lazy row scrolled away is, and shown again.
    auto* timeline = host.findByTypeName("TimelineView");
    ASSERT_NE(timeline, nullptr);
    timeline->setHidden(true);
    EXPECT_FALSE(host.frameClock().hasSubscribers());
    timeline->setHidden(false);
    EXPECT_TRUE(host.frameClock().hasSubscribers());
    (*handles)["present"].set(false);
    host.update();
    EXPECT_FALSE(host.frameClock().hasSubscribers());
}

// A simulation in the manner of the effects: each entry steps it, and it pauses its own
// timeline when it comes to rest.
struct Simulation {
    std::shared_ptr<Seen> seen;
    HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto remaining = ctx.state<int>("remaining", 0);
        handles->keep("remaining", remaining);
        return ui::TimelineView(ui::AnimationTimelineSchedule{std::nullopt, *remaining == 0},
                                [remaining, seen = seen](const ui::TimelineView::Context& context) {
                                    seen->dates.push_back(context.date);
                                    return box(10, 10).onChange(context.date, [remaining](Date) {
                                        remaining.modify([](int& n) { n = std::max(0, n - 1); });
                                    });
                                });
    }
};

TEST(TimelineViewTest, ASimulationThatComesToRestPausesItsOwnTimeline) {
    auto seen = std::make_shared<Seen>();
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Simulation{seen, handles});
    (*handles)["remaining"].set(3);
    host.update();
    host.stepFrames(6);
    EXPECT_EQ((*handles)["remaining"].value(), 0);
    EXPECT_FALSE(host.frameClock().hasSubscribers());
    // Three steps, each at a new date; every step's write rebuilds the content once more, at
    // the same date.
    std::vector<Date> distinct = seen->dates;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_EQ(distinct.size(), 4u);
    EXPECT_EQ(seen->dates.size(), 8u);
}

TEST(TimelineViewTest, AGraphGoneBeforeItsClockLeavesNoSubscription) {
    foundation::ScopedManualClock time;
    auto clock = std::make_shared<ui::ManualClock>();
    auto seen = std::make_shared<Seen>();
    {
        ui::Graph graph(recordingTimeline(ui::AnimationTimelineSchedule{}, seen), {10, 10});
        graph.setClock(clock);
        graph.update();
        EXPECT_TRUE(clock->hasSubscribers());
    }
    EXPECT_FALSE(clock->hasSubscribers());
    clock->advance(0.1);
    EXPECT_EQ(seen->dates.size(), 1u);
}

} // namespace
