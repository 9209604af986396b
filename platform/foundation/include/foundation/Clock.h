#pragma once

#include "foundation/Date.h"

#include <memory>
#include <mutex>

namespace foundation {

// Two readings of time: the wall clock (a Date, which can jump) and monotonic uptime in
// seconds (which only moves forward). Timers and deadlines run on uptime; calendars on the
// wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
    virtual double uptime() const = 0;
    virtual bool isManual() const { return false; }

    // The clock the whole process reads. The system clock unless a test installed another.
    static std::shared_ptr<Clock> current();
    static void setCurrent(std::shared_ptr<Clock> clock);
    static std::shared_ptr<Clock> system();
};

// A clock that moves only when told to: `advance` moves both readings, `set` moves only the
// wall clock (a clock or time-zone jump, as a user changing the time would cause).
class ManualClock : public Clock {
public:
    explicit ManualClock(Date start = Date(0), double uptime = 1000.0)
        : now_(start)
        , uptime_(uptime) {}

    Date now() const override;
    double uptime() const override;
    bool isManual() const override { return true; }

    void advance(TimeInterval seconds);
    void set(Date date);
    void setUptime(double uptime); // never backwards

private:
    mutable std::mutex mutex_;
    Date now_;
    double uptime_;
};

// Installs a manual clock for the lifetime of the object and restores the previous one.
class ScopedManualClock {
public:
    explicit ScopedManualClock(Date start = Date(0));
    ~ScopedManualClock();
    ScopedManualClock(const ScopedManualClock&) = delete;
    ScopedManualClock& operator=(const ScopedManualClock&) = delete;

    ManualClock& clock() { return *clock_; }
    ManualClock* operator->() { return clock_.get(); }

private:
    std::shared_ptr<ManualClock> clock_;
    std::shared_ptr<Clock> previous_;
};

} // namespace foundation
