#include "reactive/NotificationPublisher.h"
#include "reactive/RemoveDuplicates.h"
#include "reactive/Sink.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using foundation::Notification;
using foundation::NotificationCenter;

TEST(NotificationPublisherTest, DeliversMatchingNotificationsUntilCancelled) {
    NotificationCenter center;
    auto sender = std::make_shared<int>(1);
    std::vector<std::string> names;
    auto all = reactive::publisher(center, "A").sink([&](const Notification& n) {
        names.push_back("any:" + n.name);
    });
    auto fromSender = reactive::publisher(center, "A", sender).sink([&](const Notification& n) {
        names.push_back("sender");
    });

    center.post("A");
    center.post("B");
    center.post("A", sender);
    EXPECT_EQ(names, (std::vector<std::string>{"any:A", "any:A", "sender"}));

    all.cancel();
    fromSender.cancel();
    center.post("A", sender);
    EXPECT_EQ(names.size(), 3u);
}

TEST(NotificationPublisherTest, ArrivesOnThePostingThreadAndEqualNeighboursCanBeDropped) {
    NotificationCenter center;
    std::vector<std::thread::id> threads;
    int received = 0;
    auto sub = reactive::publisher(center, "Changed").removeDuplicates().sink([&](const Notification&) {
        threads.push_back(std::this_thread::get_id());
        ++received;
    });
    center.post("Changed", nullptr, {{"key", std::string("x")}});
    center.post("Changed", nullptr, {{"key", std::string("x")}}); // equal to the last: dropped
    std::thread other([&] { center.post("Changed", nullptr, {{"key", std::string("y")}}); });
    other.join();
    ASSERT_EQ(received, 2);
    EXPECT_EQ(threads[0], std::this_thread::get_id());
    EXPECT_NE(threads[1], std::this_thread::get_id());
}
