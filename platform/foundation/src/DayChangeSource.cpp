#include "foundation/DayChangeSource.h"

#include "foundation/NotificationCenter.h"
#include "foundation/Timer.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <tuple>

namespace foundation {

struct DayChangeSource::State : std::enable_shared_from_this<DayChangeSource::State> {
    using Day = std::tuple<int, int, int>;

    State(NotificationCenter& center, Calendar calendar, TimeInterval recheckInterval)
        : center(center)
        , calendar(calendar)
        , recheckInterval(recheckInterval) {}

    NotificationCenter& center;
    const Calendar calendar;
    const TimeInterval recheckInterval;

    std::mutex mutex;
    bool running = false;
    Day today;
    std::shared_ptr<Timer> timer;

    // One zone for all of a check's questions, even if the user's zone changes meanwhile.
    Calendar snapshot() const { return calendar.isAutoupdating() ? Calendar::current() : calendar; }

    static Day dayOf(const Calendar& calendar, Date date) {
        const auto c = calendar.dateComponents(date);
        return {c.year, c.month, c.day};
    }

    // Called with the mutex held.
    void arm(const Calendar& cal, Date now) {
        const Date nextMidnight = cal.startOfDay(cal.dateByAddingDays(1, cal.startOfDay(now)));
        TimeInterval wait = std::min(nextMidnight - now, recheckInterval);
        if (!std::isfinite(wait)) wait = recheckInterval;
        if (timer) timer->invalidate();
        timer = Timer::scheduledTimer(wait, false, [weak = weak_from_this()](Timer&) {
            if (auto self = weak.lock()) self->check();
        });
    }

    void check() {
        bool changed = false;
        {
            std::lock_guard lock(mutex);
            if (!running) return;
            const Calendar cal = snapshot();
            const Date now = Date::now();
            const Day day = dayOf(cal, now);
            changed = day != today;
            today = day;
            arm(cal, now);
        }
        // Unlocked: observers may stop the source.
        if (changed) center.post(NSCalendarDayChangedNotification);
    }
};

DayChangeSource::DayChangeSource(NotificationCenter& center, Calendar calendar, TimeInterval recheckInterval)
    : state_(std::make_shared<State>(center, calendar, recheckInterval > 0 ? recheckInterval : 60)) {}

DayChangeSource::~DayChangeSource() {
    stop();
}

void DayChangeSource::start() {
    std::lock_guard lock(state_->mutex);
    if (state_->running) return;
    state_->running = true;
    const Calendar cal = state_->snapshot();
    const Date now = Date::now();
    state_->today = State::dayOf(cal, now);
    state_->arm(cal, now);
}

void DayChangeSource::stop() {
    std::lock_guard lock(state_->mutex);
    state_->running = false;
    if (state_->timer) state_->timer->invalidate();
    state_->timer.reset();
}

bool DayChangeSource::isRunning() const {
    std::lock_guard lock(state_->mutex);
    return state_->running;
}

DayChangeSource& DayChangeSource::shared() {
    static DayChangeSource* source = [] {
        auto* s = new DayChangeSource(NotificationCenter::defaultCenter());
        s->start();
        return s;
    }();
    return *source;
}

} // namespace foundation
