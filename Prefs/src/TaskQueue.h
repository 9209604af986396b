#pragma once

#include "Lock.h"

#include "foundation/AsyncStream.h"
#include "foundation/Task.h"
#include "foundation/TaskPriority.h"

#include <functional>
#include <memory>
#include <optional>

namespace Prefs {

// One element of a TaskQueue: an async operation that takes and returns nothing. The queue keeps
// the callable alive until the task it returns has completed, so a capturing coroutine lambda is
// safe here.
using QueuedOperation = std::function<foundation::Task<void>()>;

// Runs async operations one at a time, in the order their enqueue() calls took the lock, on one
// long-lived detached task at the queue's priority. An operation that suspends holds back every
// later one until it completes. Held by std::shared_ptr. When the queue goes, what it buffered
// still runs, and then the consuming task ends.
class TaskQueue {
public:
    // No priority: the default one (medium).
    explicit TaskQueue(std::optional<foundation::TaskPriority> priority = std::nullopt);
    ~TaskQueue();
    TaskQueue(const TaskQueue&) = delete;
    TaskQueue& operator=(const TaskQueue&) = delete;

    // Any thread; returns at once.
    void enqueue(QueuedOperation operation);

    // Completes once every operation enqueued before it has finished. Like any async call it
    // takes effect where it is awaited. An operation of this queue must never await it: it would
    // wait behind itself.
    foundation::Task<void> flush();

private:
    using Continuation = foundation::AsyncStream<QueuedOperation>::Continuation;

    static foundation::AsyncStreamYieldResult
    enqueue(Lock& lock, const std::optional<Continuation>& continuation, QueuedOperation operation);
    static foundation::Task<void> flush(std::shared_ptr<Lock> lock, std::optional<Continuation> continuation);
    static foundation::Task<void> consume(foundation::AsyncStream<QueuedOperation> stream);

    std::optional<Continuation> queueContinuation_;
    const std::shared_ptr<Lock> lock_;
};

} // namespace Prefs
