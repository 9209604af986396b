#include "foundation/CheckedContinuation.h"

#include "foundation/Fatal.h"

#include <cstdio>

namespace foundation::detail {

bool ContinuationStateBase::isResumed() const {
    std::lock_guard lock(mutex_);
    return resumed_;
}

bool ContinuationStateBase::suspend(TaskContext& context, std::coroutine_handle<> waiter) {
    std::lock_guard lock(mutex_);
    if (resumed_) return false;
    context_ = context.shared_from_this();
    waiter_ = waiter;
    return true;
}

void ContinuationStateBase::failIfPending(std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    if (resumed_) return;
    resumed_ = true;
    error_ = std::move(error);
}

void ContinuationStateBase::reportResumedTwice() const {
    fatal("Task continuation misuse: " + name_ + " tried to resume its continuation more than once");
}

void ContinuationStateBase::reportLeak() const {
    std::fprintf(stderr,
                 "Task continuation misuse: %s dropped its continuation without resuming it; the task "
                 "awaiting it stays suspended forever\n",
                 name_.c_str());
    std::fflush(stderr);
}

} // namespace foundation::detail
