#pragma once

#include "foundation/TimeZone.h"

#include <date/date.h>
#include <date/tz.h>

#include <chrono>

// The arithmetic of a TimeZone's rules, for the calendar and the date formatter.
namespace foundation::detail {

using LocalSeconds = date::local_time<std::chrono::seconds>;

struct ZoneRules {
    static const date::time_zone* databaseZone(const TimeZone& zone) { return zone.zone_; }
    static int fixedOffset(const TimeZone& zone) { return zone.offset_; }
    static TimeZone fromDatabase(const date::time_zone* zone) { return TimeZone(zone, 0); }

    static LocalSeconds toLocal(const TimeZone& zone, date::sys_seconds t);
    static date::local_info localInfo(const TimeZone& zone, LocalSeconds t);
    // A wall-clock time as an instant: the earlier one when it occurs twice; one in a gap moves
    // forward by the gap's length (read with the offset in force before the gap).
    static date::sys_seconds resolve(const TimeZone& zone, LocalSeconds t);
};

// The user's zone: null only when there is no time-zone database at all.
const date::time_zone* userDatabaseZone();
const date::time_zone* databaseZoneNamed(std::string_view name);

} // namespace foundation::detail
