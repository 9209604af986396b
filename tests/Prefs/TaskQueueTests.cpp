#include "TaskQueue.h"

#include "foundation/CheckedContinuation.h"
#include "foundation/Clock.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace Prefs;
using foundation::CheckedContinuation;
using foundation::Task;
using foundation::TaskPriority;
using foundation::withCheckedContinuation;
using foundation::testing::runUntilFinished;

namespace {

struct TaskQueueTest : ::testing::Test {
    foundation::ScopedManualClock clock{foundation::Date(1000)};
    foundation::RunLoop& loop = foundation::RunLoop::main();
    void TearDown() override { loop.advance(1e7); }
};

// What the operations did, written from whichever worker runs them.
class Journal {
public:
    void add(std::string entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(std::move(entry));
    }
    std::vector<std::string> entries() {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    // Counts operations running at once; more than one at any moment is a failure.
    void enter() { maxRunning_ = std::max(maxRunning_.load(), ++running_); }
    void leave() { --running_; }
    int maxRunning() const { return maxRunning_; }

private:
    std::mutex mutex_;
    std::vector<std::string> entries_;
    std::atomic<int> running_{0};
    std::atomic<int> maxRunning_{0};
};

// A continuation parked by an operation until the test releases it.
class Gate {
public:
    Task<void> wait(std::string name) {
        co_await withCheckedContinuation<void>(std::move(name), [this](CheckedContinuation<void> c) {
            std::lock_guard lock(mutex_);
            parked_ = c;
        });
    }
    bool isWaiting() {
        std::lock_guard lock(mutex_);
        return parked_.has_value();
    }
    void open() {
        std::optional<CheckedContinuation<void>> parked;
        {
            std::lock_guard lock(mutex_);
            parked.swap(parked_);
        }
        parked->resume();
    }

private:
    std::mutex mutex_;
    std::optional<CheckedContinuation<void>> parked_;
};

} // namespace

TEST_F(TaskQueueTest, OperationsRunInOrderOneAtATimeEvenWhenTheySuspend) {
    auto queue = std::make_shared<TaskQueue>(TaskPriority::utility());
    auto journal = std::make_shared<Journal>();
    queue->enqueue([journal]() -> Task<void> {
        journal->enter();
        journal->add("sleep start");
        co_await Task<>::sleep(2);
        journal->add("sleep end");
        journal->leave();
    });
    queue->enqueue([journal]() -> Task<void> {
        journal->enter();
        journal->add("wait start");
        co_await withCheckedContinuation<void>(
            "later", [](CheckedContinuation<void> c) { std::thread([c] { c.resume(); }).detach(); });
        journal->add("wait end");
        journal->leave();
    });
    queue->enqueue([journal]() -> Task<void> {
        journal->add(Task<>::currentPriority() == TaskPriority::utility() && !foundation::isMainThread()
                         ? "on a worker at utility"
                         : "elsewhere");
        co_return;
    });
    runUntilFinished(queue->flush());
    EXPECT_EQ(journal->entries(), (std::vector<std::string>{"sleep start", "sleep end", "wait start",
                                                            "wait end", "on a worker at utility"}));
    EXPECT_EQ(journal->maxRunning(), 1);
}

TEST_F(TaskQueueTest, OperationsFromSeveralThreadsKeepEachThreadsOrder) {
    auto queue = std::make_shared<TaskQueue>();
    auto journal = std::make_shared<Journal>();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([queue, journal, t] {
            for (int i = 0; i < 200; ++i) {
                queue->enqueue([journal, t, i]() -> Task<void> {
                    journal->enter();
                    if (i % 50 == 0) co_await Task<>::sleep(0.1);
                    journal->add(std::to_string(t) + ":" + std::to_string(i));
                    journal->leave();
                });
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    runUntilFinished(queue->flush());
    const auto entries = journal->entries();
    ASSERT_EQ(entries.size(), 800u);
    std::vector<int> next(4, 0);
    for (const auto& entry : entries) {
        const int t = entry[0] - '0';
        EXPECT_EQ(entry.substr(2), std::to_string(next[t]++));
    }
    EXPECT_EQ(journal->maxRunning(), 1);
}

TEST_F(TaskQueueTest, FlushWaitsForEverythingEnqueuedBeforeItAndNothingAfter) {
    auto queue = std::make_shared<TaskQueue>();
    runUntilFinished(queue->flush()); // an empty queue: one pass

    auto finished = std::make_shared<std::atomic<int>>(0);
    for (int i = 0; i < 3; ++i) {
        queue->enqueue([finished]() -> Task<void> {
            co_await Task<>::sleep(1);
            ++*finished;
        });
    }
    Task flusher([queue, finished]() -> Task<int> {
        co_await queue->flush();
        co_return finished->load();
    });
    loop.runUntilIdle(); // the flusher starts and suspends in flush()
    auto gate = std::make_shared<Gate>();
    queue->enqueue([gate]() -> Task<void> { co_await gate->wait("after the flush"); });
    EXPECT_EQ(runUntilFinished(flusher), 3);
    ASSERT_TRUE(loop.runUntil([&] { return gate->isWaiting(); }));
    gate->open();
    runUntilFinished(queue->flush());
}

TEST_F(TaskQueueTest, ADestroyedQueueStillRunsWhatItBuffered) {
    auto journal = std::make_shared<Journal>();
    auto gate = std::make_shared<Gate>();
    auto queue = std::make_shared<TaskQueue>();
    queue->enqueue([gate]() -> Task<void> { co_await gate->wait("first"); });
    auto capture = std::make_shared<int>(0);
    std::weak_ptr<int> released = capture;
    queue->enqueue([journal, capture]() -> Task<void> {
        co_await Task<>::sleep(1);
        journal->add("a");
    });
    queue->enqueue([journal]() -> Task<void> {
        journal->add("b");
        co_return;
    });
    capture.reset();
    ASSERT_TRUE(loop.runUntil([&] { return gate->isWaiting(); }));
    queue.reset(); // two operations still buffered
    gate->open();
    ASSERT_TRUE(loop.runUntil([&] { return journal->entries().size() == 2 && released.expired(); }));
    EXPECT_EQ(journal->entries(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(TaskQueueTest, AnOperationThatThrowsDoesNotStopTheQueue) {
    auto queue = std::make_shared<TaskQueue>();
    auto journal = std::make_shared<Journal>();
    ::testing::internal::CaptureStderr();
    queue->enqueue([]() -> Task<void> {
        co_await Task<>::sleep(1);
        throw std::runtime_error("sync failed");
    });
    queue->enqueue([journal]() -> Task<void> {
        journal->add("after");
        co_return;
    });
    runUntilFinished(queue->flush());
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), ::testing::HasSubstr("sync failed"));
    EXPECT_EQ(journal->entries(), std::vector<std::string>{"after"});
}
