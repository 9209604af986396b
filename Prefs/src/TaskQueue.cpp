#include "TaskQueue.h"

#include "foundation/CheckedContinuation.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <utility>

namespace Prefs {

using foundation::Task;

TaskQueue::TaskQueue(std::optional<foundation::TaskPriority> priority)
    : lock_(Lock::create()) {
    auto [stream, continuation] = foundation::AsyncStream<QueuedOperation>::makeStream();
    queueContinuation_ = std::move(continuation);
    // The consuming task holds the stream and nothing else; its handle is not kept.
    Task<>::detached(priority.value_or(foundation::TaskPriority::medium()),
                     [stream = std::move(stream)]() mutable { return consume(std::move(stream)); });
}

TaskQueue::~TaskQueue() {
    std::optional<Continuation> continuation;
    {
        std::lock_guard guard(*lock_);
        continuation.swap(queueContinuation_);
    }
    if (continuation) continuation->finish();
}

void TaskQueue::enqueue(QueuedOperation operation) {
    enqueue(*lock_, queueContinuation_, std::move(operation));
}

foundation::AsyncStreamYieldResult
TaskQueue::enqueue(Lock& lock, const std::optional<Continuation>& continuation, QueuedOperation operation) {
    std::lock_guard guard(lock);
    if (!continuation) return foundation::AsyncStreamYieldResult::terminated;
    return continuation->yield(std::move(operation));
}

Task<void> TaskQueue::flush() {
    std::optional<Continuation> continuation;
    {
        std::lock_guard guard(*lock_);
        continuation = queueContinuation_;
    }
    return flush(lock_, std::move(continuation));
}

// Holds its own references, so a flush awaited after its queue is gone cannot touch freed state.
Task<void> TaskQueue::flush(std::shared_ptr<Lock> lock, std::optional<Continuation> continuation) {
    co_await foundation::withCheckedContinuation<void>(
        "flush()", [&](foundation::CheckedContinuation<void> done) {
            auto result = enqueue(*lock, continuation, [done]() -> Task<void> {
                done.resume();
                co_return;
            });
            // The queue has ended, so nothing will run the marker: nothing is left to wait for here.
            if (result == foundation::AsyncStreamYieldResult::terminated) done.resume();
        });
}

Task<void> TaskQueue::consume(foundation::AsyncStream<QueuedOperation> stream) {
    while (auto operation = co_await stream.next()) {
        if (!*operation) continue;
        try {
            co_await (*operation)();
        } catch (const std::exception& error) {
            // An operation that throws must not stop the queue for every later one.
            std::fprintf(stderr, "Prefs TaskQueue: a queued operation threw: %s\n", error.what());
        } catch (...) {
            std::fprintf(stderr, "Prefs TaskQueue: a queued operation threw\n");
        }
    }
}

} // namespace Prefs
