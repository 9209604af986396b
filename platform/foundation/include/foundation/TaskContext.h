#pragma once

#include "foundation/TaskPriority.h"

#include <atomic>
#include <coroutine>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

// The runtime under Task, TaskLocal, CheckedContinuation and AsyncStream. Nothing here is meant
// to be used directly.
namespace foundation::detail {

// One task-local binding. Bindings form an immutable list, newest first, so a child task shares
// its parent's bindings by taking the list's head.
struct TaskLocalBinding {
    std::uint64_t key = 0;
    std::shared_ptr<const void> value;
    std::shared_ptr<const TaskLocalBinding> next;
};
using TaskLocalBindings = std::shared_ptr<const TaskLocalBinding>;

enum class Executor { mainActor, workerPool };

// A running task as a whole: the top-level coroutine and every coroutine it awaits inline share
// one context. It says where the task resumes, at which priority, whether it was cancelled, and
// which task-local values are bound. At most one coroutine of a context runs at a time.
class TaskContext : public std::enable_shared_from_this<TaskContext> {
public:
    TaskContext(Executor executor, TaskPriority priority, TaskLocalBindings locals);
    TaskContext(const TaskContext&) = delete;
    TaskContext& operator=(const TaskContext&) = delete;

    // The task running on this thread, or null outside any task.
    static TaskContext* current();
    // As current(), but stops the program when called outside a task.
    static TaskContext& requireCurrent();

    Executor executor() const { return executor_; }
    TaskPriority priority() const { return priority_; }

    // Resumes `handle` later on this task's executor: the main run loop or the worker pool.
    // Never inline, so whoever wakes a task never runs its code while holding its own locks.
    void schedule(std::coroutine_handle<> handle);

    // From an await_suspend of the running task: resume `handle` (a coroutine of the same task)
    // once the current one has suspended. Used instead of symmetric transfer, which the compiler
    // turns into a tail call only when optimising, so chains of async calls never deepen the stack.
    static void transfer(std::coroutine_handle<> handle);

    // Any thread. Sets the flag and runs the cancellation handler of the current suspension.
    void cancel();
    bool isCancelled() const { return cancelled_.load(std::memory_order_acquire); }

    // A suspension point that can end early (a stream's next(), a sleep) installs a handler while
    // it waits. When the task is cancelled already, the handler runs at once, on this thread.
    // The handler may still run shortly after it was cleared, so it must hold what it touches.
    void setCancellationHandler(std::function<void()> handler);
    void clearCancellationHandler();

private:
    friend TaskLocalBindings& currentLocals();
    void run(std::coroutine_handle<> handle);

    const Executor executor_;
    const TaskPriority priority_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::function<void()> cancellationHandler_;
    // Touched only by the task's own code, which never runs on two threads at once.
    TaskLocalBindings locals_;
};

// The bindings a task-local lookup or a new child task sees: the current task's, or outside any
// task those bound by TaskLocal::withValue on this thread. Bindings are pushed and popped in
// place, so the slot stays valid while the task (or the thread) runs.
TaskLocalBindings& currentLocals();

// The priority a new main-actor task takes when none is given: the current task's, else medium.
TaskPriority inheritedPriority();

// Task coroutines await only these: every resumption then goes through TaskContext::schedule,
// which keeps the executor and the task's context right.
template <class A>
concept FoundationAwaitable = requires {
    typename std::remove_cvref_t<A>::FoundationAwaitable;
};

} // namespace foundation::detail
