#pragma once

#include "foundation/Date.h"
#include "foundation/TaskPriority.h"

#include <cmath>
#include <compare>
#include <functional>
#include <memory>
#include <string>

namespace foundation {

// A deadline on the current Clock's uptime.
struct DispatchTime {
    double uptime = 0;

    static DispatchTime now();
    static constexpr DispatchTime distantFuture() { return {INFINITY}; }
    DispatchTime operator+(TimeInterval seconds) const { return {uptime + seconds}; }
    DispatchTime operator-(TimeInterval seconds) const { return {uptime - seconds}; }
    auto operator<=>(const DispatchTime&) const = default;
};

// A queue of work: the main queue (the main run loop), or a serial or concurrent queue on the
// worker pool. A cheap handle: copies refer to the same queue.
class DispatchQueue {
public:
    using Work = std::function<void()>;
    enum class Attributes { serial, concurrent };

    static DispatchQueue main();
    static DispatchQueue global(TaskPriority priority = TaskPriority::medium());

    explicit DispatchQueue(std::string label, Attributes attributes = Attributes::serial,
                           TaskPriority priority = TaskPriority::medium());

    void async(Work work) const;
    // Runs no earlier than `deadline`. The wait is kept by the main run loop, which then hands
    // the work to this queue. A NaN or infinite deadline never runs.
    void asyncAfter(DispatchTime deadline, Work work, TimeInterval tolerance = 0) const;
    // Runs `work` on the queue and waits for it. Calling it on the queue one is running on
    // deadlocks, as the platform's does; the main queue from the main thread runs it directly.
    void sync(Work work) const;

    const std::string& label() const;
    bool isMain() const;
    bool operator==(const DispatchQueue& other) const { return impl_ == other.impl_; }

    struct Impl;

private:
    explicit DispatchQueue(std::shared_ptr<Impl> impl)
        : impl_(std::move(impl)) {}
    std::shared_ptr<Impl> impl_;
};

} // namespace foundation
