#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"
#include "foundation/MainThread.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;

namespace {

struct NotificationCenterTest : ::testing::Test {
    ScopedManualClock clock{Date(1000)};
    RunLoop& loop = RunLoop::main();
    NotificationCenter center;
    std::vector<std::string> log;

    NotificationCenter::Block logAs(std::string label) {
        return [this, label](const Notification& n) { log.push_back(label + ":" + n.name); };
    }
    void TearDown() override { loop.runUntilIdle(); }
};

// Waits in real time for work on other threads, never for long.
bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 2000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

} // namespace

TEST(NotificationTest, EqualityIsNameObjectIdentityAndUserInfo) {
    auto a = std::make_shared<int>(1);
    auto b = std::make_shared<int>(1);
    const Notification n{"N", a, {{"k", 1}}};
    EXPECT_EQ(n, (Notification{"N", a, {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"M", a, {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"N", b, {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"N", a, {{"k", 1L}}}));
    EXPECT_NE(n, (Notification{"N", a, {}}));
}

TEST_F(NotificationCenterTest, DeliversSynchronouslyInRegistrationOrderToMatchingObservers) {
    auto sender = std::make_shared<int>(0);
    auto lookalike = std::make_shared<int>(0);
    auto all = center.addObserver("", logAs("all"));
    auto named = center.addObserver("A", logAs("named"));
    auto fromSender = center.addObserver("A", sender, std::nullopt, logAs("sender"));
    auto anyNameFromSender = center.addObserver("", sender, std::nullopt, logAs("anyName"));

    center.post("A", sender);
    EXPECT_EQ(log, (std::vector<std::string>{"all:A", "named:A", "sender:A", "anyName:A"}));
    log.clear();
    center.post("A", lookalike);
    EXPECT_EQ(log, (std::vector<std::string>{"all:A", "named:A"}));
    log.clear();
    center.post("B");
    EXPECT_EQ(log, (std::vector<std::string>{"all:B"}));
}

TEST_F(NotificationCenterTest, PassesTheNotificationAsPosted) {
    auto sender = std::make_shared<std::string>("sender");
    Notification received;
    auto token = center.addObserver("N", [&](const Notification& n) { received = n; });
    center.post("N", sender, {{"count", 3}, {"title", "text"}});
    EXPECT_EQ(received, (Notification{"N", sender, {{"count", 3}, {"title", std::string("text")}}}));
}

TEST_F(NotificationCenterTest, RemovedObserversAreNotCalledAgain) {
    auto a = center.addObserver("N", logAs("a"));
    auto b = center.addObserver("N", logAs("b"));
    center.removeObserver(a);
    center.removeObserver(a);
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"b:N"}));

    // Releasing the last copy of a token ends the observation too.
    b.reset();
    center.post("N");
    EXPECT_EQ(log.size(), 1u);

    // Tokens of another centre, and empty ones, are ignored.
    NotificationCenter other;
    auto foreign = other.addObserver("N", logAs("foreign"));
    center.removeObserver(foreign);
    center.removeObserver(nullptr);
    other.post("N");
    EXPECT_EQ(log.back(), "foreign:N");
}

TEST_F(NotificationCenterTest, ObserversMayChangeTheObserverListDuringDelivery) {
    NotificationObserverToken second, added;
    NotificationObserverToken first = center.addObserver("N", [&](const Notification&) {
        log.push_back("first");
        center.removeObserver(first);  // itself
        center.removeObserver(second); // one still ahead in this delivery
        added = center.addObserver("N", logAs("added"));
        center.post("Inner");
    });
    second = center.addObserver("N", logAs("second"));
    auto third = center.addObserver("", logAs("third"));

    center.post("N");
    // The added observer waits for the next post; the nested post is delivered in place.
    EXPECT_EQ(log, (std::vector<std::string>{"first", "third:Inner", "third:N"}));
    log.clear();
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"third:N", "added:N"}));
}

TEST_F(NotificationCenterTest, AnObserverReleasedDuringDeliveryIsSkipped) {
    NotificationObserverToken second;
    auto first = center.addObserver("N", [&](const Notification&) { second.reset(); });
    second = center.addObserver("N", logAs("second"));
    center.post("N");
    EXPECT_TRUE(log.empty());
}

TEST_F(NotificationCenterTest, AnObserverRemovedOnAnotherThreadBeforeItsTurnIsNotCalled) {
    NotificationObserverToken second;
    auto first = center.addObserver(
        "N", [&](const Notification&) { std::thread([&] { center.removeObserver(second); }).join(); });
    second = center.addObserver("N", logAs("second"));
    center.post("N");
    EXPECT_TRUE(log.empty());
}

TEST_F(NotificationCenterTest, ObserversWithAQueueAreCalledThroughIt) {
    auto token = center.addObserver("N", nullptr, DispatchQueue::main(), logAs("main"));
    auto removedBeforeRun = center.addObserver("N", nullptr, DispatchQueue::main(), logAs("removed"));
    center.post("N");
    center.removeObserver(removedBeforeRun);
    EXPECT_TRUE(log.empty());
    loop.runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string>{"main:N"}));

    // A post from another thread reaches a main-queue observer on the main thread.
    std::atomic<bool> onMain{false};
    auto mainOnly = center.addObserver("FromWorker", nullptr, DispatchQueue::main(),
                                       [&](const Notification&) { onMain = isMainThread(); });
    std::thread([&] { center.post("FromWorker"); }).join();
    ASSERT_TRUE(loop.runUntil([&] { return onMain.load(); }));
}

TEST_F(NotificationCenterTest, WithoutAQueueTheBlockRunsOnThePostingThread) {
    DispatchQueue serial("poster");
    std::atomic<bool> called{false}, onMain{true};
    auto token = center.addObserver("N", [&](const Notification&) {
        onMain = isMainThread();
        called = true;
    });
    serial.async([&] { center.post("N"); });
    ASSERT_TRUE(eventually([&] { return called.load(); }));
    EXPECT_FALSE(onMain.load());
}

TEST_F(NotificationCenterTest, QueuedDeliveriesDoNotOutliveTheirCentre) {
    int calls = 0;
    NotificationObserverToken token;
    {
        NotificationCenter shortLived;
        token = shortLived.addObserver("N", nullptr, DispatchQueue::main(),
                                       [&](const Notification&) { ++calls; });
        shortLived.post("N");
    }
    loop.runUntilIdle();
    EXPECT_EQ(calls, 0);
    token.reset(); // after its centre: harmless
}

TEST_F(NotificationCenterTest, AnObjectFilterHoldsItsObjectWeakly) {
    auto sender = std::make_shared<int>(0);
    std::weak_ptr<int> watch = sender;
    auto token = center.addObserver("N", sender, std::nullopt, logAs("sender"));
    sender.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(NotificationCenterTest, IsSafeUnderConcurrentPostsAndChanges) {
    constexpr int threads = 4, postsEach = 2000;
    std::atomic<int> steady{0};
    std::atomic<bool> stop{false};
    auto token = center.addObserver("N", [&](const Notification&) { ++steady; });

    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t) {
        posters.emplace_back([&] {
            for (int i = 0; i < postsEach; ++i)
                center.post("N", nullptr, {{"i", i}});
        });
    }
    std::thread churn([&] {
        while (!stop) {
            auto passing = center.addObserver("", [](const Notification&) {});
            center.removeObserver(passing);
        }
    });
    for (auto& p : posters)
        p.join();
    stop = true;
    churn.join();
    EXPECT_EQ(steady.load(), threads * postsEach);
}
