#include "foundation/Calendar.h"
#include "foundation/Clock.h"
#include "foundation/DayChangeSource.h"
#include "foundation/MainThread.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"

#include "ScopedEnvironment.h"
#include "TestDates.h"

#include <gtest/gtest.h>

#include <vector>

using namespace foundation;
using testing_support::ScopedEnvironment;
using testing_support::utc;

namespace {

constexpr double minute = 60, hour = 3600;
// Starting off the minute, so that a post from the steady re-check would come late, not at midnight.
constexpr double pastTen = 17;

struct DayChangeSourceTest : ::testing::Test {
    ScopedEnvironment tz{"TZ", "America/New_York"};
    ScopedManualClock clock{utc(2026, 3, 6, 15) + pastTen}; // 10:00:17 in New York
    RunLoop& loop = RunLoop::main();
    NotificationCenter center;
    std::vector<Date> posts;
    NotificationObserverToken token =
        center.addObserver(NSCalendarDayChangedNotification, [this](const Notification& n) {
            EXPECT_TRUE(isMainThread());
            EXPECT_EQ(n, (Notification{NSCalendarDayChangedNotification, nullptr, {}}));
            posts.push_back(Date::now());
        });

    void TearDown() override { loop.runUntilIdle(); }
};

} // namespace

TEST_F(DayChangeSourceTest, PostsOnceAtEachLocalMidnight) {
    DayChangeSource source(center);
    source.start();
    loop.advance(14 * hour - pastTen - 1);
    EXPECT_TRUE(posts.empty());
    loop.advance(1);
    ASSERT_EQ(posts.size(), 1u);
    // Through the spring change on the 8th, a 23-hour day.
    loop.advance(4 * 24 * hour);
    const std::vector<Date> midnights{utc(2026, 3, 7, 5), utc(2026, 3, 8, 5), utc(2026, 3, 9, 4),
                                      utc(2026, 3, 10, 4), utc(2026, 3, 11, 4)};
    ASSERT_EQ(posts.size(), midnights.size());
    for (std::size_t i = 0; i < posts.size(); ++i)
        EXPECT_NEAR(posts[i] - midnights[i], 0, 0.01) << i;
}

TEST_F(DayChangeSourceTest, AClockSetBackADayPostsOnceAtTheNextCheck) {
    DayChangeSource source(center);
    source.start();
    clock->set(Date::now() - 24 * hour); // 10:00:17 on the 5th
    loop.advance(minute);
    ASSERT_EQ(posts.size(), 1u);
    loop.advance(10 * minute);
    EXPECT_EQ(posts.size(), 1u);
    // And the day changes again at the coming midnight.
    loop.advance(14 * hour - 11 * minute - pastTen - 1);
    EXPECT_EQ(posts.size(), 1u);
    loop.advance(1);
    EXPECT_EQ(posts.size(), 2u);
}

TEST_F(DayChangeSourceTest, AClockSetForwardIsNoticedOnlyWhenTheDateChanges) {
    DayChangeSource source(center);
    source.start();
    clock->set(Date::now() + 5 * hour); // still the 6th
    loop.advance(minute);
    EXPECT_TRUE(posts.empty());
    // Midnight is now 9 hours away, not 14.
    loop.advance(9 * hour - minute - pastTen - 1);
    EXPECT_TRUE(posts.empty());
    loop.advance(1);
    ASSERT_EQ(posts.size(), 1u);

    // Two days skipped at once are one change.
    clock->set(Date::now() + 2 * 24 * hour + hour);
    loop.advance(minute);
    EXPECT_EQ(posts.size(), 2u);
}

TEST_F(DayChangeSourceTest, ATimeZoneChangePostsWhenItMovesTheDate) {
    clock->set(utc(2026, 3, 7, 4, 30)); // 23:30 on the 6th in New York
    DayChangeSource source(center);
    source.start();
    tz.set("Europe/Berlin"); // 05:30 on the 7th
    loop.advance(minute);
    EXPECT_EQ(posts.size(), 1u);
    tz.set("Europe/London"); // 04:31, still the 7th
    loop.advance(minute);
    EXPECT_EQ(posts.size(), 1u);
    tz.set("America/New_York"); // back on the 6th
    loop.advance(minute);
    EXPECT_EQ(posts.size(), 2u);
}

TEST_F(DayChangeSourceTest, StoppedOrDestroyedSourcesPostNothing) {
    const std::size_t pendingBefore = loop.pendingCount();
    {
        DayChangeSource source(center);
        source.start();
        source.stop();
        loop.advance(2 * 24 * hour);
        source.start(); // takes today as it is now
        loop.advance(minute);
    }
    EXPECT_EQ(loop.pendingCount(), pendingBefore);
    loop.advance(2 * 24 * hour);
    EXPECT_TRUE(posts.empty());
}

TEST_F(DayChangeSourceTest, TheSharedSourcePostsOnTheDefaultCenter) {
    int defaultPosts = 0;
    auto observer = NotificationCenter::defaultCenter().addObserver(
        NSCalendarDayChangedNotification, [&](const Notification&) { ++defaultPosts; });
    auto& shared = DayChangeSource::shared();
    EXPECT_EQ(&shared, &DayChangeSource::shared());
    shared.start(); // running already; this restarts it when the test repeats in one process
    EXPECT_TRUE(shared.isRunning());
    loop.advance(14 * hour - pastTen);
    EXPECT_EQ(defaultPosts, 1);
    EXPECT_TRUE(posts.empty());
    shared.stop(); // leave no timers behind for other tests in this process
}
