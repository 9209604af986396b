#pragma once

#include "foundation/Date.h"
#include "foundation/RunLoop.h"

#include <functional>
#include <memory>
#include <mutex>

namespace foundation {

// A timer on the main run loop. The run loop keeps it alive while it is scheduled; a one-shot
// timer is invalid after it fired. An interval of zero or less becomes 0.1 ms, as the platform
// does; a NaN or infinite interval never fires.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Block = std::function<void(Timer&)>;

    static std::shared_ptr<Timer> scheduledTimer(TimeInterval interval, bool repeats, Block block);

    void invalidate();
    bool isValid() const;
    // Runs the block now; a one-shot timer is then invalidated.
    void fire();

    TimeInterval timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    TimeInterval tolerance() const { return tolerance_; }
    void setTolerance(TimeInterval t) { tolerance_ = t; }

    Timer(TimeInterval interval, bool repeats, Block block);
    ~Timer();

private:
    void scheduleNext(double deadline);
    void tick();

    TimeInterval interval_;
    bool repeats_;
    TimeInterval tolerance_ = 0;
    Block block_;
    mutable std::mutex mutex_;
    bool valid_ = true;
    RunLoop::Token token_ = 0;
    double deadline_ = 0;
    std::shared_ptr<Timer> retainedByLoop_;
};

} // namespace foundation
