#pragma once

#include "foundation/Date.h"

#include <optional>

namespace ui {

// Entries at `from`, `from + by`, `from + 2 by`, ... (`by` in seconds). Before `from` the
// first entry is in effect. An interval that is not positive and finite gives the one entry
// at `from`.
struct PeriodicTimelineSchedule {
    foundation::Date from;
    double by = 1;

    std::optional<foundation::Date> nextEntry(foundation::Date after) const;
    foundation::Date entryAt(foundation::Date date) const;

    bool operator==(const PeriodicTimelineSchedule&) const = default;
};

} // namespace ui
