#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;

namespace {

struct RunLoopTest : ::testing::Test {
    ScopedManualClock clock{Date(1000)};
    RunLoop& loop = RunLoop::main();
    void TearDown() override {
        // Leave nothing behind for the next test.
        loop.advance(1e7);
    }
};

// True when `condition` holds within a few real seconds; polls, for waits on other threads.
template <class F> bool eventually(F condition) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::yield();
    }
    return true;
}

// Records whether a wake reached it after it was uninstalled.
struct ProbeDriver final : RunLoopDriver {
    std::atomic<bool> uninstalled{false};
    std::atomic<int> wakes{0};
    std::atomic<bool>* lateWake;
    explicit ProbeDriver(std::atomic<bool>* late)
        : lateWake(late) {}
    void wake(std::optional<double>) override {
        if (uninstalled) *lateWake = true;
        ++wakes;
        // Widen the window in which an uninstall could overtake a wake in progress.
        for (int i = 0; i < 20; ++i)
            std::this_thread::yield();
        if (uninstalled) *lateWake = true;
    }
};

} // namespace

TEST_F(RunLoopTest, RunsDueWorkInDeadlineOrderAndNeverEarly) {
    std::vector<std::string> log;
    auto main = DispatchQueue::main();
    main.asyncAfter(DispatchTime::now() + 2.0, [&] { log.push_back("2s"); });
    main.asyncAfter(DispatchTime::now() + 0.5, [&] { log.push_back("0.5s"); });
    main.async([&] { log.push_back("now-a"); });
    main.async([&] { log.push_back("now-b"); });
    loop.runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string>{"now-a", "now-b"}));
    loop.advance(0.49);
    EXPECT_EQ(log.size(), 2u);
    loop.advance(0.01);
    EXPECT_EQ(log.back(), "0.5s");
    loop.advance(1.49);
    EXPECT_EQ(log.size(), 3u);
    loop.advance(0.01);
    EXPECT_EQ(log.back(), "2s");
}

TEST_F(RunLoopTest, WorkPostedDuringATurnRunsAtTheNextTurn) {
    std::vector<int> log;
    loop.perform([&] {
        log.push_back(1);
        loop.perform([&] { log.push_back(3); });
    });
    loop.perform([&] { log.push_back(2); });
    EXPECT_EQ(loop.runDue(), 2u);
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
    loop.runDue();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
}

TEST_F(RunLoopTest, OddDeadlinesAreHandled) {
    int runs = 0;
    auto main = DispatchQueue::main();
    main.asyncAfter(DispatchTime::now() - 5, [&] { ++runs; });            // past: next turn
    main.asyncAfter(DispatchTime{-INFINITY}, [&] { ++runs; });            // next turn
    main.asyncAfter(DispatchTime{NAN}, [&] { runs += 100; });             // never
    main.asyncAfter(DispatchTime::distantFuture(), [&] { runs += 100; }); // never
    loop.runUntilIdle();
    EXPECT_EQ(runs, 2);
    loop.advance(1e9);
    EXPECT_EQ(runs, 2);
}

TEST_F(RunLoopTest, TimersFireOnceOrRepeatAndStopWhenInvalidated) {
    int oneShot = 0, repeating = 0, invalidated = 0;
    auto a = Timer::scheduledTimer(1.0, false, [&](Timer&) { ++oneShot; });
    auto b = Timer::scheduledTimer(0.25, true, [&](Timer& t) {
        if (++repeating == 4) t.invalidate();
    });
    auto c = Timer::scheduledTimer(0.5, false, [&](Timer&) { ++invalidated; });
    loop.advance(0.4);
    c->invalidate();
    EXPECT_FALSE(c->isValid());
    loop.advance(10);
    EXPECT_EQ(oneShot, 1);
    EXPECT_FALSE(a->isValid());
    EXPECT_EQ(repeating, 4);
    EXPECT_EQ(invalidated, 0);

    int odd = 0;
    auto nan = Timer::scheduledTimer(NAN, false, [&](Timer&) { ++odd; });
    auto inf = Timer::scheduledTimer(INFINITY, false, [&](Timer&) { ++odd; });
    auto negative = Timer::scheduledTimer(-3, false, [&](Timer&) { odd += 10; });
    loop.advance(1e6);
    EXPECT_EQ(odd, 10);
}

TEST_F(RunLoopTest, ATimerReleasedByItsOwnerStillFires) {
    int fired = 0;
    Timer::scheduledTimer(1.0, false, [&](Timer&) { ++fired; });
    loop.advance(1.0);
    EXPECT_EQ(fired, 1);
}

TEST_F(RunLoopTest, CancelledWorkNeverRuns) {
    int runs = 0;
    auto token = loop.scheduleAfter(1.0, [&] { ++runs; });
    loop.cancel(token);
    loop.cancel(token);
    loop.advance(2.0);
    EXPECT_EQ(runs, 0);
}

TEST_F(RunLoopTest, WorkFromOtherQueuesReachesTheMainThread) {
    EXPECT_TRUE(isMainThread());
    DispatchQueue serial("serial");
    std::atomic<int> onMain{0};
    std::vector<int> order;
    for (int i = 0; i < 50; ++i) {
        serial.async([&, i] {
            EXPECT_FALSE(isMainThread());
            DispatchQueue::main().async([&, i] {
                if (isMainThread()) ++onMain;
                order.push_back(i);
            });
        });
    }
    ASSERT_TRUE(loop.runUntil([&] { return order.size() == 50; }));
    EXPECT_EQ(onMain.load(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i);
}

TEST_F(RunLoopTest, ManualClockSetMovesOnlyTheWallClock) {
    const double uptime = clock->uptime();
    clock->set(Date(5));
    EXPECT_EQ(Date::now(), Date(5));
    EXPECT_EQ(clock->uptime(), uptime);
    loop.advance(3);
    EXPECT_EQ(Date::now(), Date(8));
    EXPECT_EQ(clock->uptime(), uptime + 3);
}

TEST_F(RunLoopTest, RunUntilTakesAnUnboundedTimeout) {
    bool ran = false;
    loop.scheduleAfter(1.0, [&] { ran = true; });
    EXPECT_TRUE(loop.runUntil([&] { return ran; }, INFINITY));
    ran = false;
    loop.scheduleAfter(1.0, [&] { ran = true; });
    EXPECT_TRUE(loop.runUntil([&] { return ran; }, 1e300));
    // No time at all: only what is already there.
    EXPECT_FALSE(loop.runUntil([] { return false; }, NAN));
    EXPECT_FALSE(loop.runUntil([] { return false; }, -INFINITY));
}

TEST_F(RunLoopTest, CancelledWorkIsReleasedOutsideTheLoopsLock) {
    // A capture whose destructor uses the loop, as a released subscription or task might.
    struct UsesLoopWhenReleased {
        std::atomic<bool>* reachedLoop;
        ~UsesLoopWhenReleased() {
            auto done = std::make_shared<std::atomic<bool>>(false);
            std::thread([done] {
                RunLoop::main().pendingCount();
                *done = true;
            }).detach();
            *reachedLoop = eventually([&] { return done->load(); });
        }
    };
    std::atomic<bool> reachedLoop{false};
    auto token = loop.scheduleAfter(1.0, [capture = std::make_shared<UsesLoopWhenReleased>(&reachedLoop)] {});
    loop.cancel(token);
    EXPECT_TRUE(reachedLoop);
}

TEST_F(RunLoopTest, NoWakeReachesADriverAfterItWasUninstalled) {
    std::atomic<bool> lateWake{false};
    std::atomic<bool> stop{false};
    std::thread poster([&] {
        while (!stop)
            loop.cancel(loop.perform([] {}));
    });
    std::vector<std::unique_ptr<ProbeDriver>> drivers; // kept, so a late wake is seen, not a crash
    for (int i = 0; i < 2000 && !lateWake; ++i) {
        auto& driver = drivers.emplace_back(std::make_unique<ProbeDriver>(&lateWake));
        loop.setDriver(driver.get());
        ASSERT_TRUE(eventually([&] { return driver->wakes > 1; })); // one from installing
        loop.setDriver(nullptr);
        driver->uninstalled = true;
    }
    stop = true;
    poster.join();
    EXPECT_FALSE(lateWake);
}
