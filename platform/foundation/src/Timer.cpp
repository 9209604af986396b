#include "foundation/Timer.h"

#include "foundation/Clock.h"

#include <cmath>

namespace foundation {

Timer::Timer(TimeInterval interval, bool repeats, Block block)
    : interval_(interval)
    , repeats_(repeats)
    , block_(std::move(block)) {
    if (!std::isnan(interval_) && interval_ <= 0) interval_ = 0.0001;
}

Timer::~Timer() = default;

std::shared_ptr<Timer> Timer::scheduledTimer(TimeInterval interval, bool repeats, Block block) {
    auto timer = std::make_shared<Timer>(interval, repeats, std::move(block));
    if (std::isnan(timer->interval_) || std::isinf(timer->interval_)) return timer; // valid, never fires
    timer->retainedByLoop_ = timer;
    timer->scheduleNext(Clock::current()->uptime() + timer->interval_);
    return timer;
}

void Timer::scheduleNext(double deadline) {
    std::weak_ptr<Timer> weak = weak_from_this();
    std::lock_guard lock(mutex_);
    deadline_ = deadline;
    token_ = RunLoop::main().schedule(deadline, [weak] {
        if (auto self = weak.lock()) self->tick();
    });
}

void Timer::tick() {
    auto self = shared_from_this(); // the block may invalidate and release us
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
    }
    if (block_) block_(*this);
    if (!repeats_) {
        invalidate();
        return;
    }
    double next;
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
        // Keep to the original schedule; skip ticks that were missed.
        const double now = Clock::current()->uptime();
        next = deadline_ + interval_;
        if (next <= now) next = deadline_ + std::ceil((now - deadline_) / interval_) * interval_;
        if (next <= now) next = now + interval_;
    }
    scheduleNext(next);
}

void Timer::fire() {
    auto self = shared_from_this();
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
    }
    if (block_) block_(*this);
    if (!repeats_) invalidate();
}

void Timer::invalidate() {
    std::shared_ptr<Timer> release;
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
        valid_ = false;
        RunLoop::main().cancel(token_);
        release = std::move(retainedByLoop_);
    }
}

bool Timer::isValid() const {
    std::lock_guard lock(mutex_);
    return valid_;
}

} // namespace foundation
