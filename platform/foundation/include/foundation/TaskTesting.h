#pragma once

#include "foundation/RunLoop.h"
#include "foundation/Task.h"
#include "foundation/TaskContext.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

// For tests: drive the main run loop (and, with a manual clock, virtual time) until a task ends.
namespace foundation::testing {

class TaskTimeoutError : public std::runtime_error {
public:
    explicit TaskTimeoutError(double timeout)
        : std::runtime_error("the task did not finish within " + std::to_string(timeout) + " s") {}
};

// Runs the main run loop until `task` is done and returns its value or rethrows its error;
// throws TaskTimeoutError after `timeout` real seconds. A lazy task (a coroutine not awaited
// yet) is started here as a main-actor task. Call it on the main thread.
template <class T> T runUntilFinished(Task<T> task, double timeout = 10.0) {
    const auto& core = detail::TaskAccess::core(task);
    core->start(std::make_shared<detail::TaskContext>(detail::Executor::mainActor,
                                                      detail::inheritedPriority(), detail::currentLocals()));
    // A task finishing on a worker wakes the loop rather than waiting for its next poll.
    core->whenDone([] { RunLoop::main().perform([] {}); });
    if (!RunLoop::main().runUntil([&] { return core->isDone(); }, timeout)) throw TaskTimeoutError(timeout);
    if constexpr (std::is_void_v<T> || std::is_copy_constructible_v<T>) {
        return core->template result<false>();
    } else {
        return core->template result<true>();
    }
}

} // namespace foundation::testing
