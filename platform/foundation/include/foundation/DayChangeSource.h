#pragma once

#include "foundation/Calendar.h"
#include "foundation/Date.h"
#include "foundation/Notification.h"

#include <memory>

namespace foundation {

class NotificationCenter;

inline const NotificationName NSCalendarDayChangedNotification = "NSCalendarDayChanged";

// Posts NSCalendarDayChangedNotification (no object, no user info) on a centre, on the main
// thread, once each time the calendar day changes: at local midnight, and within
// `recheckInterval` seconds after a change of the wall clock or of the time zone that moves
// the date. A change that leaves the date as it was posts nothing.
//
// Timers run on monotonic uptime while midnight is a wall-clock matter, so the source aims a
// timer at the next midnight and also looks again at least every `recheckInterval` seconds.
//
// The program starts the process's source once, with DayChangeSource::shared().
class DayChangeSource {
public:
    // The centre must outlive the source.
    explicit DayChangeSource(NotificationCenter& center, Calendar calendar = Calendar::autoupdatingCurrent(),
                             TimeInterval recheckInterval = 60);
    ~DayChangeSource();
    DayChangeSource(const DayChangeSource&) = delete;
    DayChangeSource& operator=(const DayChangeSource&) = delete;

    // Any thread. Starting remembers today's date and posts nothing.
    void start();
    void stop();
    bool isRunning() const;

    // The process's source on the default centre, started at the first call; never destroyed.
    static DayChangeSource& shared();

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace foundation
