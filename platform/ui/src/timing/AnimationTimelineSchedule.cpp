#include "ui/AnimationTimelineSchedule.h"

#include <cmath>
#include <limits>

namespace ui {

std::optional<foundation::Date> AnimationTimelineSchedule::nextEntry(foundation::Date after) const {
    if (paused) return std::nullopt;
    if (minimumInterval && std::isfinite(*minimumInterval) && *minimumInterval > 0)
        return after + *minimumInterval;
    // Any later frame.
    const double seconds = after.timeIntervalSinceReferenceDate();
    return foundation::Date(std::nextafter(seconds, std::numeric_limits<double>::infinity()));
}

} // namespace ui
