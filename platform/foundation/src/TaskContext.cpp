#include "foundation/TaskContext.h"

#include "foundation/Fatal.h"
#include "foundation/RunLoop.h"
#include "foundation/TaskLocal.h"
#include "foundation/WorkerPool.h"

#include <utility>

namespace foundation::detail {

namespace {
thread_local TaskContext* runningContext = nullptr;
thread_local std::coroutine_handle<> transferTarget;
thread_local TaskLocalBindings threadLocals;
} // namespace

TaskContext::TaskContext(Executor executor, TaskPriority priority, TaskLocalBindings locals)
    : executor_(executor)
    , priority_(priority)
    , locals_(std::move(locals)) {}

TaskContext* TaskContext::current() {
    return runningContext;
}

TaskContext& TaskContext::requireCurrent() {
    if (!runningContext) fatal("a task operation was awaited outside a task");
    return *runningContext;
}

void TaskContext::schedule(std::coroutine_handle<> handle) {
    auto job = [self = shared_from_this(), handle] { self->run(handle); };
    if (executor_ == Executor::mainActor) {
        RunLoop::main().perform(std::move(job));
        return;
    }
    WorkerPool::shared().submit(std::move(job), priority_);
}

void TaskContext::run(std::coroutine_handle<> handle) {
    // Nested run loops on the main thread can run one task inside another: restore, not clear.
    TaskContext* outer = runningContext;
    runningContext = this;
    while (handle) {
        handle.resume();
        handle = std::exchange(transferTarget, {});
    }
    runningContext = outer;
}

void TaskContext::transfer(std::coroutine_handle<> handle) {
    if (transferTarget) fatal("a task transferred to two coroutines at once");
    transferTarget = handle;
}

void TaskContext::cancel() {
    if (cancelled_.exchange(true, std::memory_order_acq_rel)) return;
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        handler = cancellationHandler_;
    }
    if (handler) handler();
}

void TaskContext::setCancellationHandler(std::function<void()> handler) {
    {
        std::lock_guard lock(mutex_);
        cancellationHandler_ = handler;
    }
    if (isCancelled()) handler();
}

void TaskContext::clearCancellationHandler() {
    std::function<void()> released;
    std::lock_guard lock(mutex_);
    released.swap(cancellationHandler_);
}

TaskLocalBindings& currentLocals() {
    if (runningContext) return runningContext->locals_;
    return threadLocals;
}

TaskPriority inheritedPriority() {
    return runningContext ? runningContext->priority() : TaskPriority::medium();
}

} // namespace foundation::detail

namespace foundation::detail {

std::uint64_t nextTaskLocalKey() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

} // namespace foundation::detail
