#include "Flair/RepeatingTimer.h"

#include "Flair/ChangeCounting.h"

#include <cmath>
#include <utility>

namespace Flair {

void RepeatingTimer::start(double interval, double delay) {
    if (delay == 0) {
        tick(interval);
        return;
    }
    // A timer never fires for NaN; a NaN delay acts as a negative one.
    replaceTimer(scheduleTick(std::isnan(delay) ? 0 : delay, interval));
}

void RepeatingTimer::scheduleNext(double interval) {
    replaceTimer(std::isfinite(interval) ? scheduleTick(interval, interval) : nullptr);
}

void RepeatingTimer::stop() {
    replaceTimer(nullptr);
}

void RepeatingTimer::tick(double interval) {
    count = detail::nextCount(count);
    scheduleNext(interval);
}

std::shared_ptr<foundation::Timer> RepeatingTimer::scheduleTick(double seconds, double interval) {
    return foundation::Timer::scheduledTimer(seconds, false,
                                             [owner = weak_from_this(), interval](foundation::Timer&) {
                                                 if (auto self = owner.lock()) self->tick(interval);
                                             });
}

void RepeatingTimer::replaceTimer(std::shared_ptr<foundation::Timer> next) {
    if (timer) timer->invalidate();
    timer = std::move(next);
}

} // namespace Flair
