#include "foundation/Clock.h"

#include <atomic>
#include <chrono>

namespace foundation {

namespace {

class SystemClock final : public Clock {
public:
    Date now() const override {
        using namespace std::chrono;
        auto us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
        return Date::fromTimeIntervalSince1970(static_cast<double>(us) / 1e6);
    }
    double uptime() const override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
};

std::mutex& clockMutex() {
    static std::mutex m;
    return m;
}

// Never destroyed, like the clock itself: threads still ask for the time while the process exits.
std::shared_ptr<Clock>& currentSlot() {
    static auto* slot = new std::shared_ptr<Clock>(Clock::system());
    return *slot;
}

} // namespace

std::shared_ptr<Clock> Clock::system() {
    static const auto* clock = new std::shared_ptr<Clock>(std::make_shared<SystemClock>());
    return *clock;
}

std::shared_ptr<Clock> Clock::current() {
    std::lock_guard lock(clockMutex());
    return currentSlot();
}

void Clock::setCurrent(std::shared_ptr<Clock> clock) {
    std::lock_guard lock(clockMutex());
    currentSlot() = clock ? std::move(clock) : system();
}

Date ManualClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

double ManualClock::uptime() const {
    std::lock_guard lock(mutex_);
    return uptime_;
}

void ManualClock::advance(TimeInterval seconds) {
    if (!(seconds > 0)) return;
    std::lock_guard lock(mutex_);
    now_ = now_ + seconds;
    uptime_ += seconds;
}

void ManualClock::set(Date date) {
    std::lock_guard lock(mutex_);
    now_ = date;
}

void ManualClock::setUptime(double uptime) {
    std::lock_guard lock(mutex_);
    if (uptime > uptime_) {
        now_ = now_ + (uptime - uptime_);
        uptime_ = uptime;
    }
}

ScopedManualClock::ScopedManualClock(Date start)
    : clock_(std::make_shared<ManualClock>(start))
    , previous_(Clock::current()) {
    Clock::setCurrent(clock_);
}

ScopedManualClock::~ScopedManualClock() {
    Clock::setCurrent(previous_);
}

Date Date::now() {
    return Clock::current()->now();
}

TimeInterval Date::timeIntervalSinceNow() const {
    return timeIntervalSince(now());
}

} // namespace foundation
