#include "reactive/Scheduler.h"

#include "foundation/Clock.h"

#include <utility>

namespace reactive {

Scheduler::Scheduler(foundation::DispatchQueue queue) {
    if (queue.isMain()) {
        runLoop_ = &foundation::RunLoop::main();
        return;
    }
    queue_ = std::move(queue);
}

double Scheduler::now() {
    return foundation::Clock::current()->uptime();
}

void Scheduler::schedule(Work work) const {
    if (runLoop_) {
        runLoop_->perform(std::move(work));
        return;
    }
    queue_->async(std::move(work));
}

Scheduler::Token Scheduler::schedule(double deadline, Work work) const {
    if (runLoop_) return runLoop_->schedule(deadline, std::move(work));
    // The main run loop keeps the time, as DispatchQueue::asyncAfter does; the token cancels
    // the wait.
    return foundation::RunLoop::main().schedule(
        deadline, [queue = *queue_, work = std::move(work)]() mutable { queue.async(std::move(work)); });
}

void Scheduler::cancel(Token token) const {
    if (token == 0) return;
    (runLoop_ ? *runLoop_ : foundation::RunLoop::main()).cancel(token);
}

} // namespace reactive
