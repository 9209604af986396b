#pragma once

#include "foundation/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace date {
class time_zone;
}

namespace foundation {

// A date's fields in a calendar's time zone (Gregorian).
struct DateComponents {
    int year = 0;
    int month = 0; // 1…12
    int day = 0;   // 1…31
    int hour = 0;
    int minute = 0;
    double second = 0; // with the fraction

    bool operator==(const DateComponents&) const = default;
};

// The Gregorian calendar in one time zone. A cheap value.
//
// The user's zone is the TZ variable when it names a zone of the time-zone database (as
// "Europe/Berlin", ":Europe/Berlin" or a path into the zoneinfo folder; empty means UTC), and
// the system's zone otherwise. Non-finite dates come back unchanged.
class Calendar {
public:
    // Follows the user's zone: reads it anew at every use.
    static Calendar autoupdatingCurrent();
    // The user's zone as it is now, kept.
    static Calendar current();
    // A calendar in the named zone; nothing when the database does not know it.
    static std::optional<Calendar> withTimeZone(std::string_view identifier);

    bool isAutoupdating() const { return zone_ == nullptr; }
    // The zone's identifier, as "America/New_York".
    std::string timeZone() const;

    // The first instant of the day holding `date`: local midnight, or, on a day whose midnight
    // is skipped by a clock change, the first instant that exists. An ambiguous midnight gives
    // the earlier of the two instants.
    Date startOfDay(Date date) const;
    bool isDateInSameDayAs(Date date, Date other) const;
    bool isDateInToday(Date date) const;
    // The same wall-clock time `days` days later (earlier when negative). A time that does not
    // exist on that day moves forward by the length of the gap; an ambiguous one takes the
    // earlier instant.
    Date dateByAddingDays(int days, Date date) const;
    DateComponents dateComponents(Date date) const;

private:
    explicit Calendar(const date::time_zone* zone)
        : zone_(zone) {}
    const date::time_zone* zone() const;

    const date::time_zone* zone_ = nullptr; // null: the user's zone at each use
};

} // namespace foundation
