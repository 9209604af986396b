#include "TaskFixture.h"

#include "foundation/NotificationCenter.h"
#include "foundation/TaskTesting.h"

#include <string>
#include <thread>
#include <vector>

using namespace foundation;

using NotificationSequenceTest = TaskFixture;

TEST_F(NotificationSequenceTest, DeliversPostsFromAnyThreadInOrderUntilCancelled) {
    NotificationCenter center;
    auto stream = std::make_shared<AsyncStream<Notification>>(center.notifications("Tick"));
    Task<std::vector<std::string>> consumer([stream]() -> Task<std::vector<std::string>> {
        std::vector<std::string> got;
        while (auto n = co_await stream->next()) {
            got.push_back(*n->userInfo.at("n").get<std::string>());
            if (got.size() == 3) break;
        }
        co_return got;
    });
    center.post("Tick", nullptr, {{"n", std::string("1")}});
    center.post("Other", nullptr, {{"n", std::string("x")}});
    std::thread([&] { center.post("Tick", nullptr, {{"n", std::string("2")}}); }).join();
    center.post("Tick", nullptr, {{"n", std::string("3")}});
    EXPECT_EQ(foundation::testing::runUntilFinished(consumer), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(NotificationSequenceTest, CancellingTheConsumerEndsTheObservation) {
    NotificationCenter center;
    bool ended = false;
    Task<void> consumer([&center, &ended]() -> Task<void> {
        auto stream = center.notifications("Tick");
        while (co_await stream.next()) {
        }
        ended = true;
    });
    loop.runUntilIdle();
    consumer.cancel();
    foundation::testing::runUntilFinished(consumer);
    EXPECT_TRUE(ended);
    center.post("Tick"); // nobody is left to buffer it
}
