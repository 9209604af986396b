#pragma once

#include "foundation/Date.h"

#include <optional>

namespace ui {

// Entries at every frame, or at most one per `minimumInterval` seconds; none while paused. A
// minimum interval that is not positive and finite counts as none.
struct AnimationTimelineSchedule {
    std::optional<double> minimumInterval;
    bool paused = false;

    std::optional<foundation::Date> nextEntry(foundation::Date after) const;
    // Every frame is an entry, so the entry in effect is the moment itself.
    foundation::Date entryAt(foundation::Date date) const { return date; }

    bool operator==(const AnimationTimelineSchedule&) const = default;
};

} // namespace ui
