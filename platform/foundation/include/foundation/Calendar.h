#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The Gregorian calendar (proleptic: Gregorian all the way back) in one time zone, with the
// week rules of its kind. A cheap value.
//
// The user's zone is TimeZone::current()'s. Non-finite dates come back unchanged.
class Calendar {
public:
    // gregorian counts weeks from Sunday and the first week of a year is the one holding
    // 1 January; iso8601 counts them from Monday, and the first week holds at least four days
    // of the new year.
    enum class Identifier { gregorian, iso8601 };
    enum class Component { year, month, weekOfYear, day, hour, minute, second };

    // A calendar of that kind in the user's zone as it is now, kept.
    explicit Calendar(Identifier identifier);
    // Follows the user's zone: reads it anew at every use. Gregorian, with the week of the
    // user's locale (Locale::current()) as it is at the call.
    static Calendar autoupdatingCurrent();
    // The user's zone and locale as they are now, kept.
    static Calendar current();
    // A gregorian calendar in the named zone; nothing when the database does not know it.
    static std::optional<Calendar> withTimeZone(std::string_view identifier);

    Identifier identifier() const { return identifier_; }
    bool isAutoupdating() const { return !zone_; }
    TimeZone timeZone() const;
    void setTimeZone(TimeZone zone) { zone_ = zone; }
    // 1 is Sunday, 2 Monday … 7 Saturday; values outside are ignored.
    int firstWeekday() const { return firstWeekday_; }
    void setFirstWeekday(int weekday);
    // 1…7; values outside are ignored.
    int minimumDaysInFirstWeek() const { return minimumDaysInFirstWeek_; }
    void setMinimumDaysInFirstWeek(int days);

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

    // One field of `date`; the week of the year follows the week rules (the last days of
    // December can lie in week 1 of the next year). Nothing for a date that is not finite or
    // lies beyond the calendar's years (±30,000).
    std::optional<int> component(Component unit, Date date) const;
    // Whether both dates lie in the same day, week, month or year (or hour, minute, second):
    // the enclosing units begin at the same instant, so a week across New Year is one week.
    bool isDate(Date date, Date other, Component granularity) const;
    // How many whole units lie from `start` to `end`: the largest n whose addition of n units
    // to `start` does not pass `end`, negative when `end` is earlier. Days and larger units add
    // in wall-clock time (a day across a clock change is 23 or 25 hours; the 31st plus a month
    // is the last day of a shorter month); hours and smaller count elapsed time.
    std::optional<std::int64_t> difference(Component unit, Date start, Date end) const;
    // The date of these fields; out-of-range fields roll over (month 13 is January of the next
    // year, 30 February is 1 or 2 March, hour 24 the next day). Nothing when the seconds are
    // not finite or the year lies beyond the calendar's.
    std::optional<Date> date(const DateComponents& components) const;

private:
    Calendar(Identifier identifier, std::optional<TimeZone> zone, int firstWeekday, int minimumDays)
        : identifier_(identifier)
        , zone_(zone)
        , firstWeekday_(firstWeekday)
        , minimumDaysInFirstWeek_(minimumDays) {}
    // The zone of this use: the kept one, or the user's now.
    TimeZone zone() const;

    Identifier identifier_ = Identifier::gregorian;
    std::optional<TimeZone> zone_; // none: the user's zone at each use
    int firstWeekday_ = 1;
    int minimumDaysInFirstWeek_ = 1;
};

} // namespace foundation
