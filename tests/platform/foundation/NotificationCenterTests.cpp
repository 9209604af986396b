#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"
#include "foundation/MainThread.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
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

} // namespace

TEST(NotificationTest, EqualityIsNameObjectIdentityAndUserInfo) {
    auto a = std::make_shared<int>(1);
    const Notification n{"N", a, {{"k", 1}}};
    EXPECT_EQ(n, (Notification{"N", a, {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"M", a, {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"N", std::make_shared<int>(1), {{"k", 1}}}));
    EXPECT_NE(n, (Notification{"N", a, {{"k", 1L}}}));
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
    Notification received;
    auto copy = center.addObserver("B", [&](const Notification& n) { received = n; });
    center.post("B", sender, {{"count", 3}});
    EXPECT_EQ(log, (std::vector<std::string>{"all:B", "anyName:B"}));
    EXPECT_EQ(received, (Notification{"B", sender, {{"count", 3}}}));
}

TEST_F(NotificationCenterTest, AnObservationEndsWhenRemovedOrReleased) {
    auto a = center.addObserver("N", logAs("a"));
    auto b = center.addObserver("N", logAs("b"));
    center.removeObserver(a);
    center.removeObserver(a);
    center.post("N");
    b.reset();
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"b:N"}));

    // Tokens of another centre, and empty ones, are ignored.
    NotificationCenter other;
    auto foreign = other.addObserver("N", logAs("foreign"));
    center.removeObserver(foreign);
    center.removeObserver(nullptr);
    other.post("N");
    EXPECT_EQ(log.back(), "foreign:N");
}

TEST_F(NotificationCenterTest, ObserversMayChangeTheObserverListDuringDelivery) {
    NotificationObserverToken second, third, fourth, added;
    NotificationObserverToken first = center.addObserver("N", [&](const Notification&) {
        log.push_back("first");
        center.removeObserver(first);  // itself
        center.removeObserver(second); // one still ahead in this delivery
        third.reset();                 // another, by releasing its token
        std::thread([&] { center.removeObserver(fourth); }).join();
        added = center.addObserver("N", logAs("added"));
        center.post("Inner");
    });
    second = center.addObserver("N", logAs("second"));
    third = center.addObserver("N", logAs("third"));
    fourth = center.addObserver("N", logAs("fourth"));
    auto last = center.addObserver("", logAs("last"));

    center.post("N");
    // The added observer waits for the next post; the nested post is delivered in place.
    EXPECT_EQ(log, (std::vector<std::string>{"first", "last:Inner", "last:N"}));
    log.clear();
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"last:N", "added:N"}));
}

TEST_F(NotificationCenterTest, AQueueCarriesTheCallAndNoQueueMeansThePostingThread) {
    auto queued = center.addObserver("N", nullptr, DispatchQueue::main(), logAs("main"));
    auto removedBeforeRun = center.addObserver("N", nullptr, DispatchQueue::main(), logAs("removed"));
    center.post("N");
    center.removeObserver(removedBeforeRun);
    EXPECT_TRUE(log.empty());
    loop.runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string>{"main:N"}));

    std::atomic<int> onMain{0}, onPoster{0};
    auto viaMain = center.addObserver("W", nullptr, DispatchQueue::main(),
                                      [&](const Notification&) { onMain += isMainThread(); });
    auto direct = center.addObserver("W", [&](const Notification&) { onPoster += !isMainThread(); });
    std::thread([&] { center.post("W"); }).join();
    EXPECT_EQ(onPoster.load(), 1);
    ASSERT_TRUE(loop.runUntil([&] { return onMain.load() == 1; }));

    // Deliveries still queued when their centre goes do not run.
    auto shortLived = std::make_unique<NotificationCenter>();
    auto orphan = shortLived->addObserver("N", nullptr, DispatchQueue::main(), logAs("orphan"));
    shortLived->post("N");
    shortLived.reset();
    loop.runUntilIdle();
    EXPECT_EQ(log.back(), "main:N");
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
