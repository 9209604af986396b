#pragma once

#include "foundation/Date.h"
#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace reactive {

// Where and when time-based operators (debounce, receiveOn) run their work: the main run loop
// or a dispatch queue. Built implicitly from either, so `debounce(0.5, RunLoop::main())` and
// `receiveOn(DispatchQueue::main())` read as usual. Deadlines are on the current Clock's uptime,
// so a manual clock drives them exactly.
class Scheduler {
public:
    using Work = std::function<void()>;
    using Token = std::uint64_t;

    Scheduler(foundation::RunLoop& runLoop)
        : runLoop_(&runLoop) {}
    Scheduler(foundation::DispatchQueue queue);

    // The scheduler's clock: the current Clock's uptime.
    static double now();

    // Runs `work` as soon as possible; work scheduled from one thread runs in that order.
    void schedule(Work work) const;
    // Runs `work` no earlier than `deadline` (uptime seconds). The token cancels it while it
    // waits; on a queue other than the main one, work already handed to the queue still runs.
    Token schedule(double deadline, Work work) const;
    void cancel(Token token) const;

private:
    foundation::RunLoop* runLoop_ = nullptr; // set for the main run loop and the main queue
    std::optional<foundation::DispatchQueue> queue_;
};

} // namespace reactive
