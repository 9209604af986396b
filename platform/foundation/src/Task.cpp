#include "foundation/Task.h"

#include "foundation/RunLoop.h"

#include <atomic>

namespace foundation::detail {

TaskCoreBase::~TaskCoreBase() {
    // Never started: the frame is ours to release (running frames release themselves).
    if (frame_) frame_.destroy();
}

bool TaskCoreBase::isDone() const {
    std::lock_guard lock(mutex_);
    return state_ == State::done;
}

void TaskCoreBase::cancel() {
    std::shared_ptr<TaskContext> context;
    {
        std::lock_guard lock(mutex_);
        context = context_;
    }
    if (context) context->cancel();
}

bool TaskCoreBase::isCancelled() const {
    std::lock_guard lock(mutex_);
    return context_ && context_->isCancelled();
}

void TaskCoreBase::start(std::shared_ptr<TaskContext> context) {
    std::coroutine_handle<> frame;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::lazy) return;
        state_ = State::running;
        context_ = context;
        running_ = shared_from_this();
        frame = std::exchange(frame_, {});
    }
    context->schedule(frame);
}

bool TaskCoreBase::await(TaskContext& context, std::coroutine_handle<> awaiting) {
    std::lock_guard lock(mutex_);
    switch (state_) {
    case State::done:
        return false;
    case State::running:
        awaiters_.push_back({context.shared_from_this(), awaiting});
        return true;
    case State::lazy:
        break;
    }
    // An async function call: it runs next, on this thread, as part of the awaiting task.
    state_ = State::running;
    context_ = context.shared_from_this();
    running_ = shared_from_this();
    continuation_ = awaiting;
    TaskContext::transfer(std::exchange(frame_, {}));
    return true;
}

void TaskCoreBase::whenDone(std::function<void()> callback) {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::done) {
            callbacks_.push_back(std::move(callback));
            return;
        }
    }
    callback();
}

void TaskCoreBase::finish(std::coroutine_handle<> frame) noexcept {
    std::shared_ptr<TaskCoreBase> self;
    {
        std::lock_guard lock(mutex_);
        self = std::move(running_);
    }
    frame.destroy();
    std::coroutine_handle<> next;
    std::vector<Awaiter> awaiters;
    std::vector<std::function<void()>> callbacks;
    {
        std::lock_guard lock(mutex_);
        state_ = State::done;
        next = std::exchange(continuation_, {});
        awaiters.swap(awaiters_);
        callbacks.swap(callbacks_);
    }
    for (auto& awaiter : awaiters)
        awaiter.context->schedule(awaiter.handle);
    for (auto& callback : callbacks)
        callback();
    if (next) TaskContext::transfer(next);
}

bool isCurrentTaskCancelled() {
    auto* context = TaskContext::current();
    return context && context->isCancelled();
}

TaskPriority currentTaskPriority() {
    auto* context = TaskContext::current();
    return context ? context->priority() : TaskPriority::medium();
}

namespace {

// Shared by the run-loop item and the cancellation handler; whichever comes first wakes the task.
struct Sleep {
    std::shared_ptr<TaskContext> context;
    std::coroutine_handle<> handle;
    std::atomic<bool> woken{false};
    std::atomic<RunLoop::Token> token{0};

    void wake() {
        if (woken.exchange(true)) return;
        context->schedule(handle);
    }
};

} // namespace

bool SleepAwaiter::await_ready() const {
    return isCurrentTaskCancelled();
}

void SleepAwaiter::await_suspend(std::coroutine_handle<> awaiting) const {
    // Once the handler below may have woken the task, this awaiter can be gone: copy first.
    const TimeInterval seconds = seconds_;
    auto& context = TaskContext::requireCurrent();
    auto sleep = std::make_shared<Sleep>();
    sleep->context = context.shared_from_this();
    sleep->handle = awaiting;
    context.setCancellationHandler([sleep] {
        RunLoop::main().cancel(sleep->token.load());
        sleep->wake();
    });
    sleep->token = RunLoop::main().scheduleAfter(seconds, [sleep] { sleep->wake(); });
    // Cancelled between the two: the item may already be scheduled after the handler ran.
    if (sleep->woken.load()) RunLoop::main().cancel(sleep->token.load());
}

void SleepAwaiter::await_resume() const {
    auto* context = TaskContext::current();
    if (!context) return;
    context->clearCancellationHandler();
    if (context->isCancelled()) throw CancellationError();
}

} // namespace foundation::detail
