#include "ui/PeriodicTimelineSchedule.h"

#include <cmath>

namespace ui {

namespace {

bool repeats(double by) {
    return std::isfinite(by) && by > 0;
}

} // namespace

std::optional<foundation::Date> PeriodicTimelineSchedule::nextEntry(foundation::Date after) const {
    if (after < from) return from;
    if (!repeats(by)) return std::nullopt;
    const double periods = std::floor((after - from) / by) + 1;
    auto next = from + periods * by;
    // Rounding may land on `after` itself for an `after` just short of an entry.
    if (next <= after) next = from + (periods + 1) * by;
    return next;
}

foundation::Date PeriodicTimelineSchedule::entryAt(foundation::Date date) const {
    if (!(date > from) || !repeats(by)) return from;
    return from + std::floor((date - from) / by) * by;
}

} // namespace ui
