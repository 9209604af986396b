#include "reactive/PassthroughSubject.h"
#include "reactive/TimerPublisher.h"

#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace reactive;
using foundation::Date;
using foundation::RunLoop;

namespace {

struct TimeTest : ::testing::Test {
    foundation::ScopedManualClock clock{Date(500)};
    RunLoop& loop = RunLoop::main();
    double start = clock->uptime();
    double elapsed() { return clock->uptime() - start; }
    void TearDown() override { loop.advance(1e7); }
};

} // namespace

TEST_F(TimeTest, DebounceEmitsTheLatestValueExactlyWhenTheQuietIntervalEnds) {
    PassthroughSubject<int> subject;
    std::vector<std::pair<int, double>> out; // value, uptime at delivery
    auto c = subject.debounce(0.5, RunLoop::main()).sink([&](int v) {
        EXPECT_TRUE(foundation::isMainThread());
        out.emplace_back(v, clock->uptime());
    });
    subject.send(1);
    loop.advance(0.3);
    const double lastSend = clock->uptime();
    subject.send(2); // restarts the interval
    loop.advance(0.49);
    EXPECT_TRUE(out.empty());
    loop.advance(0.02);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], std::pair(2, lastSend + 0.5));

    const double again = clock->uptime();
    subject.send(3);
    loop.advance(5);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1], std::pair(3, again + 0.5));
}

TEST_F(TimeTest, DebounceDeliversAWaitingValueBeforeFinishingAndDropsItOnCancel) {
    PassthroughSubject<int> subject;
    std::vector<std::string> log;
    auto c = subject.debounce(1.0, foundation::DispatchQueue::main())
                 .sink([&](const auto&) { log.push_back("finished@" + std::to_string(int(elapsed() * 10))); },
                       [&](int v) {
                           log.push_back(std::to_string(v) + "@" + std::to_string(int(elapsed() * 10)));
                       });
    subject.send(1);
    loop.advance(0.5);
    subject.send(Subscribers::Completion<Never>::finished());
    loop.advance(0.4);
    EXPECT_TRUE(log.empty());
    loop.advance(0.2);
    EXPECT_EQ(log, (std::vector<std::string>{"1@10", "finished@10"}));

    PassthroughSubject<int> other;
    int received = 0;
    auto d = other.debounce(1.0, RunLoop::main()).sink([&](int) { ++received; });
    other.send(1);
    loop.advance(0.5);
    d.cancel();
    loop.advance(2);
    EXPECT_EQ(received, 0);
}

TEST_F(TimeTest, AutoconnectedTimerTicksAtTheIntervalAndStopsOnCancel) {
    const auto idle = loop.pendingCount();
    std::vector<Date> ticks;
    auto timer = TimerPublisher::publish(1.0, RunLoop::main(), RunLoopMode::common).autoconnect();
    auto c = timer.sink([&](Date d) { ticks.push_back(d); });
    loop.advance(0.99);
    EXPECT_TRUE(ticks.empty());
    loop.advance(0.01);
    loop.advance(2.0);
    EXPECT_EQ(ticks, (std::vector<Date>{Date(501), Date(502), Date(503)}));

    c.cancel();
    EXPECT_EQ(loop.pendingCount(), idle); // the timer is gone from the run loop
    loop.advance(5);
    EXPECT_EQ(ticks.size(), 3u);

    // A new subscriber connects anew, on its own schedule.
    loop.advance(0.5);
    auto again = timer.sink([&](Date d) { ticks.push_back(d); });
    loop.advance(1.0);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks.back(), Date(509.5));
}

TEST_F(TimeTest, AConnectableTimerTicksOnlyWhileConnectedAndSharesItsTicks) {
    auto timer = timerPublish(0.25, RunLoop::main(), RunLoopMode::defaultMode);
    int a = 0, b = 0;
    auto first = timer.sink([&](Date) { ++a; });
    auto second = timer.sink([&](Date) { ++b; });
    loop.advance(1);
    EXPECT_EQ(a, 0);

    auto connection = timer.connect();
    auto sameConnection = timer.connect();
    loop.advance(1);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 4);
    second.cancel();
    connection.cancel(); // ends the shared connection, though another copy is still held
    loop.advance(1);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 4);

    auto reconnected = timer.connect();
    loop.advance(0.5);
    EXPECT_EQ(a, 6);
}

TEST_F(TimeTest, ReceiveOnMainDeliversOnTheMainThreadInOrder) {
    PassthroughSubject<int> subject;
    std::vector<int> out;
    bool allOnMain = true;
    bool finished = false;
    auto c = subject.receiveOn(foundation::DispatchQueue::main())
                 .sink([&](const auto&) { finished = true; },
                       [&](int v) {
                           allOnMain = allOnMain && foundation::isMainThread();
                           out.push_back(v);
                       });
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i)
            subject.send(i);
        subject.send(Subscribers::Completion<Never>::finished());
    });
    worker.join();
    EXPECT_TRUE(out.empty()); // nothing arrives until the main run loop turns
    ASSERT_TRUE(loop.runUntil([&] { return finished; }));
    ASSERT_EQ(out.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(out[i], i);
    EXPECT_TRUE(allOnMain);

    // Values still on their way when the subscription is cancelled are dropped.
    PassthroughSubject<int> other;
    int received = 0;
    auto d = other.receiveOn(RunLoop::main()).sink([&](int) { ++received; });
    other.send(1);
    d.cancel();
    loop.runUntilIdle();
    EXPECT_EQ(received, 0);
}
