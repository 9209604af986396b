#pragma once

#include "foundation/CancellationError.h"
#include "foundation/Date.h"
#include "foundation/TaskContext.h"
#include "foundation/TaskPriority.h"

#include <concepts>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

// Tasks on C++20 coroutines.
//
// A `Task<T>` is a shared handle to asynchronous work that ends in a T (or an exception).
// There are two ways to get one:
//
// * Call a coroutine that returns `Task<T>`. This is an async function: nothing runs until the
//   result is awaited, and then it runs inside the awaiting task (same actor, same cancellation,
//   same task-local values), the way a call would. Forgetting `co_await` runs nothing.
//
//       foundation::Task<int> answer(int base) { co_await foundation::Task<>::sleep(1); co_return base + 2; }
//       int v = co_await answer(40);
//
// * Start a top-level task from a callable. `Task(body)` runs on the main actor: started by the
//   main run loop, and every resumption there too. It inherits the creator's priority and
//   task-local values. `Task<T>::detached(priority, body)` runs on the worker pool at that
//   priority and inherits nothing; `Task<T>::detached(priority, onMainActor, body)` is detached
//   the same way but runs its body on the main actor. The task runs to its end whether or not
//   anyone keeps the handle.
//
//       foundation::Task task([model]() -> foundation::Task<int> { co_return co_await model->load(); });
//       foundation::Task<>::detached(foundation::TaskPriority::utility(),
//                                    [stream = std::move(s)]() mutable -> foundation::Task<> {
//                                        while (auto v = co_await stream.next()) use(*v);
//                                    });
//
//   The callable is moved into the task's own coroutine frame and invoked there, so its captures
//   live exactly as long as the task runs. Never start a task by calling a capturing coroutine
//   lambda yourself and keeping only the result: `[x]() -> Task<> { ... }()` leaves the frame
//   pointing at a closure that dies at the end of the statement. Hand the lambda to Task(...)
//   or detached(...) instead. The body may also be an ordinary function returning T.
//
// Awaiting: `co_await task` (or `co_await task.value()`) gives the value or rethrows what the
// task threw. Awaiting an lvalue copies the value, so several handles can read it; awaiting a
// temporary or `std::move(task)` moves it out. A task coroutine may await only what this runtime
// provides: tasks, `Task<>::sleep`, `AsyncStream::next()`, checked continuations. Any
// callback-based API becomes awaitable through withCheckedContinuation.
//
// Cancellation is cooperative: `cancel()` sets the task's flag, which its code reads with
// `Task<>::isCancelledCurrent()` or `Task<>::checkCancellation()`. A task waiting on a stream's
// next() stops waiting (the stream terminates) and a sleeping task wakes with CancellationError.
// Cancelling a task does not cancel other top-level tasks it awaits. `cancel()` on an async
// function's handle acts on the task it runs in once it has been awaited.
namespace foundation {

template <class T = void> class Task;

// Tag for Task<T>::detached: run the detached task's body on the main actor.
struct OnMainActor {
    explicit constexpr OnMainActor() = default;
};
inline constexpr OnMainActor onMainActor{};

namespace detail {

template <class R> struct TaskValue {
    using type = R;
    static constexpr bool isTask = false;
};
template <class U> struct TaskValue<Task<U>> {
    using type = U;
    static constexpr bool isTask = true;
};
template <class R> inline constexpr bool isTask = TaskValue<std::remove_cvref_t<R>>::isTask;
// What a task started from callable F ends in: U for a coroutine returning Task<U>, else F's result.
template <class F>
using TaskValueOf = typename TaskValue<std::remove_cvref_t<std::invoke_result_t<F&>>>::type;

template <class F, class T>
concept TaskBody = std::invocable<F&> && std::move_constructible<F> && std::is_same_v<TaskValueOf<F>, T>;

// The state one task's handles share: its result, who waits for it, and its coroutine frame
// until it starts. A running frame keeps the state alive until the frame is done.
class TaskCoreBase : public std::enable_shared_from_this<TaskCoreBase> {
public:
    TaskCoreBase() = default;
    TaskCoreBase(const TaskCoreBase&) = delete;
    TaskCoreBase& operator=(const TaskCoreBase&) = delete;
    virtual ~TaskCoreBase();

    bool isDone() const;
    void cancel();
    bool isCancelled() const;

    // Set once, by the promise, before anyone else sees the state.
    void setFrame(std::coroutine_handle<> frame) { frame_ = frame; }
    // Starts a lazy task as a top-level task of its own. Does nothing to a started one.
    void start(std::shared_ptr<TaskContext> context);
    // Awaiting from `context`: a lazy task starts right here, inline in the awaiting task; a
    // running one wakes the awaiter when done. False when done already: no need to suspend.
    bool await(TaskContext& context, std::coroutine_handle<> awaiting);
    // Runs `callback` once the task is done (now, if it is), on the thread that finishes it.
    void whenDone(std::function<void()> callback);
    // The final suspension: releases the frame, and with it the body's captures, before anyone
    // sees the task done; then wakes the awaiters, the one that started it inline directly.
    void finish(std::coroutine_handle<> frame) noexcept;

    // Written by the frame before it finishes, read only after.
    void setError(std::exception_ptr error) { error_ = std::move(error); }
    void rethrowIfFailed() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    enum class State { lazy, running, done };
    struct Awaiter {
        std::shared_ptr<TaskContext> context;
        std::coroutine_handle<> handle;
    };

    mutable std::mutex mutex_;
    State state_ = State::lazy;
    std::coroutine_handle<> frame_;         // owned while lazy
    std::shared_ptr<TaskCoreBase> running_; // self, while the frame runs
    std::shared_ptr<TaskContext> context_;
    std::coroutine_handle<> continuation_; // the awaiter that started it inline
    std::vector<Awaiter> awaiters_;
    std::vector<std::function<void()>> callbacks_;
    std::exception_ptr error_;
};

template <class T> class TaskCore final : public TaskCoreBase {
public:
    template <class U> void setValue(U&& value) { value_.emplace(std::forward<U>(value)); }
    template <bool Consume> T result() {
        rethrowIfFailed();
        if constexpr (Consume)
            return std::move(*value_);
        else
            return *value_;
    }

private:
    std::optional<T> value_;
};

template <> class TaskCore<void> final : public TaskCoreBase {
public:
    template <bool Consume> void result() { rethrowIfFailed(); }
};

struct FinalAwaiter {
    explicit FinalAwaiter(TaskCoreBase* core)
        : core(core) {}
    TaskCoreBase* core;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> frame) const noexcept { core->finish(frame); }
    void await_resume() const noexcept {}
};

template <class T> class TaskPromiseBase {
public:
    std::suspend_always initial_suspend() const noexcept { return {}; }
    FinalAwaiter final_suspend() const noexcept { return FinalAwaiter(core_); }
    void unhandled_exception() { core_->setError(std::current_exception()); }

    template <class A> A&& await_transform(A&& awaitable) const noexcept {
        static_assert(FoundationAwaitable<A>,
                      "a foundation::Task coroutine awaits only tasks, Task<>::sleep, "
                      "AsyncStream::next() and checked continuations; wrap callback APIs in "
                      "withCheckedContinuation");
        return std::forward<A>(awaitable);
    }

protected:
    Task<T> makeTask(std::coroutine_handle<> frame);
    TaskCore<T>* core_ = nullptr;
};

template <class T> class TaskPromise : public TaskPromiseBase<T> {
public:
    Task<T> get_return_object() {
        return this->makeTask(std::coroutine_handle<TaskPromise>::from_promise(*this));
    }
    void return_value(const T& value) { this->core_->setValue(value); }
    void return_value(T&& value) { this->core_->setValue(std::move(value)); }
};

template <> class TaskPromise<void> : public TaskPromiseBase<void> {
public:
    Task<void> get_return_object();
    void return_void() const noexcept {}
};

// Awaiters have constructors: g++ 12 destroys a braced aggregate temporary in co_await twice.
template <class T, bool Consume> struct TaskAwaiter {
    using FoundationAwaitable = void;
    explicit TaskAwaiter(std::shared_ptr<TaskCore<T>> core)
        : core(std::move(core)) {}
    std::shared_ptr<TaskCore<T>> core;

    bool await_ready() const { return core->isDone(); }
    bool await_suspend(std::coroutine_handle<> awaiting) const {
        return core->await(TaskContext::requireCurrent(), awaiting);
    }
    T await_resume() const { return core->template result<Consume>(); }
};

// Resumes on the task's own executor after `seconds` of Clock uptime, measured by the main run
// loop; throws CancellationError when the task is or gets cancelled.
class SleepAwaiter {
public:
    using FoundationAwaitable = void;
    explicit SleepAwaiter(TimeInterval seconds)
        : seconds_(seconds) {}
    bool await_ready() const;
    void await_suspend(std::coroutine_handle<> awaiting) const;
    void await_resume() const;

private:
    TimeInterval seconds_;
};

bool isCurrentTaskCancelled();
TaskPriority currentTaskPriority();

// The frame a top-level task runs in: it owns the callable, so the callable's captures outlive
// every suspension of the coroutine it returns.
template <class T, class F> Task<T> runBody(F body) {
    if constexpr (isTask<std::invoke_result_t<F&>>) {
        if constexpr (std::is_void_v<T>) {
            co_await std::invoke(body);
            co_return;
        } else {
            co_return co_await std::invoke(body);
        }
    } else {
        if constexpr (std::is_void_v<T>) {
            std::invoke(body);
            co_return;
        } else {
            co_return std::invoke(body);
        }
    }
}

struct TaskAccess {
    template <class T> static const std::shared_ptr<TaskCore<T>>& core(const Task<T>& task) {
        return task.core_;
    }
};

} // namespace detail

template <class T> class Task {
public:
    using promise_type = detail::TaskPromise<T>;
    using ValueType = T;
    using FoundationAwaitable = void;

    // A task on the main actor, at the current task's priority (medium outside any task),
    // inheriting the current task-local values.
    template <class F>
    requires detail::TaskBody<F, T>
    explicit Task(F body)
        : Task(detail::inheritedPriority(), std::move(body)) {}

    template <class F>
    requires detail::TaskBody<F, T> Task(TaskPriority priority, F body)
        : Task(detail::runBody<T>(std::move(body))) {
        core_->start(std::make_shared<detail::TaskContext>(detail::Executor::mainActor, priority,
                                                           detail::currentLocals()));
    }

    // A task on the worker pool that inherits no task-local values.
    template <class F>
    requires detail::TaskBody<F, T>
    static Task detached(TaskPriority priority, F body) {
        return startDetached(detail::Executor::workerPool, priority, std::move(body));
    }
    template <class F>
    requires detail::TaskBody<F, T>
    static Task detached(F body) { return detached(TaskPriority::medium(), std::move(body)); }
    // A detached task whose body runs on the main actor.
    template <class F>
    requires detail::TaskBody<F, T>
    static Task detached(TaskPriority priority, OnMainActor, F body) {
        return startDetached(detail::Executor::mainActor, priority, std::move(body));
    }

    Task(const Task&) = default;
    Task(Task&&) noexcept = default;
    Task& operator=(const Task&) = default;
    Task& operator=(Task&&) noexcept = default;

    // Any thread.
    void cancel() const { core_->cancel(); }
    bool isCancelled() const { return core_->isCancelled(); }

    auto value() const& { return detail::TaskAwaiter<T, false>(core_); }
    auto value() && { return detail::TaskAwaiter<T, true>(std::move(core_)); }
    auto operator co_await() const& { return value(); }
    auto operator co_await() && { return std::move(*this).value(); }

    bool operator==(const Task& other) const { return core_ == other.core_; }

    // About the task running this code; false, medium, and no-ops outside any task.
    static bool isCancelledCurrent() { return detail::isCurrentTaskCancelled(); }
    static void checkCancellation() {
        if (detail::isCurrentTaskCancelled()) throw CancellationError();
    }
    static TaskPriority currentPriority() { return detail::currentTaskPriority(); }
    // Suspends the current task for `seconds` of Clock uptime (a manual clock in tests).
    static detail::SleepAwaiter sleep(TimeInterval seconds) { return detail::SleepAwaiter(seconds); }

private:
    friend class detail::TaskPromiseBase<T>;
    friend struct detail::TaskAccess;

    explicit Task(std::shared_ptr<detail::TaskCore<T>> core)
        : core_(std::move(core)) {}

    template <class F> static Task startDetached(detail::Executor executor, TaskPriority priority, F body) {
        Task task = detail::runBody<T>(std::move(body));
        task.core_->start(std::make_shared<detail::TaskContext>(executor, priority, nullptr));
        return task;
    }

    std::shared_ptr<detail::TaskCore<T>> core_;
};

template <class F>
requires std::invocable<F&> Task(F)
->Task<detail::TaskValueOf<F>>;
template <class F>
requires std::invocable<F&> Task(TaskPriority, F)
->Task<detail::TaskValueOf<F>>;

template <class T> Task<T> detail::TaskPromiseBase<T>::makeTask(std::coroutine_handle<> frame) {
    auto core = std::make_shared<TaskCore<T>>();
    core->setFrame(frame);
    core_ = core.get();
    return Task<T>(std::move(core));
}

inline Task<void> detail::TaskPromise<void>::get_return_object() {
    return makeTask(std::coroutine_handle<TaskPromise>::from_promise(*this));
}

} // namespace foundation
