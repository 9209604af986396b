#pragma once

#include "foundation/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace date {
class time_zone;
}

namespace foundation {

namespace detail {
struct ZoneRules;
}

// A time zone: a zone of the time-zone database ("Europe/Berlin"), or a fixed offset from GMT.
// A cheap value.
class TimeZone {
public:
    // A zone the database knows; nothing for any other name.
    static std::optional<TimeZone> named(std::string_view identifier);
    // A fixed offset, at most 18 hours either way; nothing beyond. Its identifier is "GMT" for
    // no offset and "GMT+0100", "GMT-0530" otherwise ("GMT+010030" with seconds).
    static std::optional<TimeZone> withSecondsFromGMT(int seconds);
    static TimeZone gmt();
    // The user's zone as it is now: the TZ variable when it names a zone of the database (as
    // "Europe/Berlin", ":Europe/Berlin" or a path into the zoneinfo folder; empty means UTC),
    // and the system's zone otherwise.
    static TimeZone current();

    std::string identifier() const;
    // The offset in force at `date`, daylight saving included.
    int secondsFromGMT(Date date) const;
    // Whether the zone is a fixed offset rather than a zone of the database.
    bool isFixedOffset() const { return zone_ == nullptr; }

    bool operator==(const TimeZone&) const = default;

private:
    friend struct detail::ZoneRules;
    TimeZone(const date::time_zone* zone, int offset)
        : zone_(zone)
        , offset_(offset) {}

    const date::time_zone* zone_ = nullptr; // null: the fixed offset
    int offset_ = 0;
};

} // namespace foundation
