#include "TaskFixture.h"

#include "foundation/AsyncStream.h"
#include "foundation/CheckedContinuation.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

using namespace foundation;
using foundation::testing::runUntilFinished;

namespace {

struct AsyncStreamTest : TaskFixture {};

using Termination = AsyncStreamTermination;
using Yield = AsyncStreamYieldResult;

// Termination reports, from whichever thread caused them.
struct Reasons {
    std::mutex mutex;
    std::vector<Termination> list;
    void operator()(Termination why) {
        std::lock_guard lock(mutex);
        list.push_back(why);
    }
    std::vector<Termination> get() {
        std::lock_guard lock(mutex);
        return list;
    }
};

template <class T> Task<std::vector<T>> drain(AsyncStream<T> stream) {
    std::vector<T> all;
    while (auto element = co_await stream.next())
        all.push_back(std::move(*element));
    co_return all;
}

} // namespace

TEST_F(AsyncStreamTest, KeepsEveryElementYieldedFromSeveralThreads) {
    constexpr int producers = 4;
    constexpr int perProducer = 5000;
    using Element = std::pair<int, int>;
    for (const bool consumeOnWorker : {false, true}) {
        SCOPED_TRACE(consumeOnWorker ? "consumer on a worker" : "consumer on the main actor");
        auto [stream, continuation] = AsyncStream<Element>::makeStream();
        auto reasons = std::make_shared<Reasons>();
        continuation.setOnTermination([reasons](Termination why) { (*reasons)(why); });
        auto body = [s = std::move(stream)]() mutable { return drain(std::move(s)); };
        auto consumer = consumeOnWorker ? Task<std::vector<Element>>::detached(std::move(body))
                                        : Task<std::vector<Element>>(std::move(body));

        std::atomic<int> notEnqueued{0};
        std::thread feeder([&, continuation] {
            std::vector<std::thread> threads;
            for (int p = 0; p < producers; ++p) {
                threads.emplace_back([&, p] {
                    for (int i = 0; i < perProducer; ++i) {
                        if (continuation.yield({p, i}) != Yield::enqueued) ++notEnqueued;
                    }
                });
            }
            for (auto& thread : threads)
                thread.join();
            continuation.finish();
        });
        const auto received = runUntilFinished(consumer);
        feeder.join();

        EXPECT_EQ(notEnqueued.load(), 0);
        ASSERT_EQ(received.size(), std::size_t(producers * perProducer));
        std::vector<int> next(producers, 0);
        for (const auto& [p, i] : received)
            ASSERT_EQ(i, next[p]++) << "producer " << p << " out of order";
        EXPECT_EQ(reasons->get(), std::vector<Termination>{Termination::finished});
    }
}

TEST_F(AsyncStreamTest, FinishingDeliversWhatIsBufferedThenEnds) {
    auto [stream, continuation] = AsyncStream<int>::makeStream();
    Reasons reasons;
    continuation.setOnTermination(std::ref(reasons));
    continuation.yield(1);
    continuation.yield(2);
    continuation.finish();
    EXPECT_EQ(reasons.get(), std::vector<Termination>{Termination::finished});
    EXPECT_EQ(continuation.yield(3), Yield::terminated);
    continuation.finish();
    Task consumer([s = std::move(stream)]() mutable { return drain(std::move(s)); });
    EXPECT_EQ(runUntilFinished(consumer), (std::vector<int>{1, 2}));
    EXPECT_EQ(reasons.get().size(), 1u);

    // A handler set after the end runs at once, so its clean-up still happens.
    std::optional<Termination> late;
    continuation.setOnTermination([&](Termination why) { late = why; });
    EXPECT_EQ(late, Termination::finished);
}

TEST_F(AsyncStreamTest, CancellingTheConsumerEndsItsIterationAndFiresOnTerminationOnce) {
    // Cancelled while waiting in next(), from another thread.
    {
        auto [stream, continuation] = AsyncStream<int>::makeStream();
        auto reasons = std::make_shared<Reasons>();
        continuation.setOnTermination([reasons](Termination why) { (*reasons)(why); });
        Task consumer([s = std::move(stream)]() mutable { return drain(std::move(s)); });
        continuation.yield(1);
        loop.runUntilIdle(); // took 1, waits for more
        std::thread([consumer] { consumer.cancel(); }).join();
        EXPECT_EQ(reasons->get(), std::vector<Termination>{Termination::cancelled});
        EXPECT_EQ(runUntilFinished(consumer), std::vector<int>{1});
        EXPECT_EQ(continuation.yield(2), Yield::terminated);
        continuation.finish();
        EXPECT_EQ(reasons->get().size(), 1u);
    }
    // Cancelled between two elements: the next next() ends it and drops what was buffered.
    {
        auto [stream, continuation] = AsyncStream<int>::makeStream();
        Reasons reasons;
        continuation.setOnTermination(std::ref(reasons));
        std::optional<CheckedContinuation<void>> busy;
        Task consumer([&, s = std::move(stream)]() -> Task<std::vector<int>> {
            std::vector<int> got;
            while (auto element = co_await s.next()) {
                got.push_back(*element);
                co_await withCheckedContinuation<void>("busy",
                                                       [&](CheckedContinuation<void> c) { busy = c; });
            }
            co_return got;
        });
        continuation.yield(1);
        continuation.yield(2);
        loop.runUntilIdle();
        consumer.cancel();
        EXPECT_TRUE(reasons.get().empty());
        busy->resume();
        EXPECT_EQ(runUntilFinished(consumer), std::vector<int>{1});
        EXPECT_EQ(reasons.get(), std::vector<Termination>{Termination::cancelled});
    }
}

TEST_F(AsyncStreamTest, DroppingTheConsumerEndFiresOnTerminationOnce) {
    {
        auto [stream, continuation] = AsyncStream<int>::makeStream();
        Reasons reasons;
        continuation.setOnTermination(std::ref(reasons));
        continuation.yield(1);
        { auto dropped = std::move(stream); }
        EXPECT_EQ(reasons.get(), std::vector<Termination>{Termination::cancelled});
        EXPECT_EQ(continuation.yield(2), Yield::terminated);
        continuation.finish();
        EXPECT_EQ(reasons.get().size(), 1u);
    }
    // A task that stops iterating early drops the stream with its frame, before it counts as done.
    {
        Reasons reasons;
        std::optional<AsyncStream<int>::Continuation> producer;
        AsyncStream<int> stream([&](AsyncStream<int>::Continuation c) { producer = c; });
        producer->setOnTermination(std::ref(reasons));
        Task consumer([s = std::move(stream)]() -> Task<int> { co_return *co_await s.next(); });
        producer->yield(7);
        producer->yield(8);
        EXPECT_EQ(runUntilFinished(consumer), 7);
        EXPECT_EQ(reasons.get(), std::vector<Termination>{Termination::cancelled});
    }
}

TEST_F(AsyncStreamTest, DroppingEveryContinuationFinishesTheStream) {
    auto [stream, continuation] = AsyncStream<int>::makeStream();
    Reasons reasons;
    continuation.setOnTermination(std::ref(reasons));
    Task consumer([s = std::move(stream)]() mutable { return drain(std::move(s)); });
    std::thread([c = std::move(continuation)] { c.yield(1); }).join();
    EXPECT_EQ(runUntilFinished(consumer), std::vector<int>{1});
    EXPECT_EQ(reasons.get(), std::vector<Termination>{Termination::finished});
}

TEST_F(AsyncStreamTest, BoundedPoliciesDropTheOldestOrTheNewest) {
    auto oldest = AsyncStream<int>::makeStream(AsyncStreamBufferingPolicy::bufferingOldest(2));
    auto newest = AsyncStream<int>::makeStream(AsyncStreamBufferingPolicy::bufferingNewest(2));
    std::vector<Yield> results;
    for (int i = 1; i <= 3; ++i)
        results.push_back(oldest.second.yield(i));
    for (int i = 1; i <= 3; ++i)
        results.push_back(newest.second.yield(i));
    EXPECT_EQ(results, (std::vector<Yield>{Yield::enqueued, Yield::enqueued, Yield::dropped, Yield::enqueued,
                                           Yield::enqueued, Yield::dropped}));
    oldest.second.finish();
    newest.second.finish();
    Task a([s = std::move(oldest.first)]() mutable { return drain(std::move(s)); });
    Task b([s = std::move(newest.first)]() mutable { return drain(std::move(s)); });
    EXPECT_EQ(runUntilFinished(a), (std::vector<int>{1, 2}));
    EXPECT_EQ(runUntilFinished(b), (std::vector<int>{2, 3}));
}
