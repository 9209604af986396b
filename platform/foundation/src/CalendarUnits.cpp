#include "foundation/Calendar.h"

#include "CalendarTime.h"
#include "ZoneRules.h"

#include <chrono>
#include <cmath>

// Fields, units and differences of the calendar.
namespace foundation {

using detail::isUsable;
using detail::join;
using detail::LocalSeconds;
using detail::split;
using detail::ZoneRules;
using std::chrono::seconds;

namespace {

using Unit = Calendar::Component;

// A local wall-clock time with the fraction of its second.
struct LocalTime {
    date::local_days day;
    seconds timeOfDay;
    double fraction;
};

LocalTime localTime(const TimeZone& zone, Date d) {
    const auto [whole, fraction] = split(d);
    const LocalSeconds local = ZoneRules::toLocal(zone, whole);
    const auto day = date::floor<date::days>(local);
    return {day, local - day, fraction};
}

Date instantOf(const TimeZone& zone, date::local_days day, seconds timeOfDay, double fraction) {
    return join(ZoneRules::resolve(zone, LocalSeconds(day) + timeOfDay), fraction);
}

// The first day of the week holding `day`.
date::local_days weekStart(date::local_days day, int firstWeekday) {
    const int weekday = int(date::weekday(day).c_encoding()) + 1; // 1 is Sunday
    return day - date::days((weekday - firstWeekday + 7) % 7);
}

// The first day of week 1 of `year`: the week of 1 January when it holds enough days of the
// year, else the week after.
date::local_days firstWeekStart(int year, int firstWeekday, int minimumDays) {
    const date::local_days january1{date::year(year) / 1 / 1};
    const auto start = weekStart(january1, firstWeekday);
    const int daysOfTheYear = 7 - int((january1 - start).count());
    return daysOfTheYear >= minimumDays ? start : start + date::days(7);
}

int weekOfYear(date::local_days day, int firstWeekday, int minimumDays) {
    const int year = int(date::year_month_day(day).year());
    auto start = firstWeekStart(year, firstWeekday, minimumDays);
    if (day < start)
        start = firstWeekStart(year - 1, firstWeekday, minimumDays);
    else if (day >= firstWeekStart(year + 1, firstWeekday, minimumDays))
        return 1;
    return int((day - start).count() / 7) + 1;
}

std::int64_t monthIndex(date::local_days day) {
    const date::year_month_day ymd(day);
    return std::int64_t(int(ymd.year())) * 12 + (unsigned(ymd.month()) - 1);
}

// The day `months` months after `day`, on the same day of the month or the last one there is.
date::local_days addingMonths(date::local_days day, std::int64_t months) {
    const date::year_month_day ymd(day);
    const std::int64_t index = monthIndex(day) + months;
    const auto year = std::int64_t(std::floor(double(index) / 12));
    const date::year_month target{date::year(int(year)), date::month(unsigned(index - year * 12 + 1))};
    const auto last = date::year_month_day_last(target.year(), date::month_day_last(target.month())).day();
    return date::local_days(target / std::min(ymd.day(), last));
}

constexpr double unitSeconds(Unit unit) {
    switch (unit) {
    case Unit::hour:
        return 3600;
    case Unit::minute:
        return 60;
    default:
        return 1;
    }
}

} // namespace

std::optional<int> Calendar::component(Component unit, Date d) const {
    if (!isUsable(d)) return std::nullopt;
    const auto [day, timeOfDay, fraction] = localTime(zone(), d);
    const date::year_month_day ymd(day);
    const date::hh_mm_ss time(timeOfDay);
    switch (unit) {
    case Component::year:
        return int(ymd.year());
    case Component::month:
        return int(unsigned(ymd.month()));
    case Component::weekOfYear:
        return weekOfYear(day, firstWeekday_, minimumDaysInFirstWeek_);
    case Component::day:
        return int(unsigned(ymd.day()));
    case Component::hour:
        return int(time.hours().count());
    case Component::minute:
        return int(time.minutes().count());
    case Component::second:
        return int(time.seconds().count());
    }
    return std::nullopt;
}

bool Calendar::isDate(Date d, Date other, Component granularity) const {
    if (!isUsable(d) || !isUsable(other)) return false;
    const TimeZone z = zone();
    // Each date's enclosing unit, as a number that two dates share exactly when they share it.
    const auto unitOf = [&](Date date) -> std::int64_t {
        const auto [day, timeOfDay, fraction] = localTime(z, date);
        const std::int64_t localSeconds = (day.time_since_epoch() + timeOfDay).count();
        switch (granularity) {
        case Component::year:
            return int(date::year_month_day(day).year());
        case Component::month:
            return monthIndex(day);
        case Component::weekOfYear:
            return weekStart(day, firstWeekday_).time_since_epoch().count();
        case Component::day:
            return day.time_since_epoch().count();
        case Component::hour:
        case Component::minute:
        case Component::second: {
            const auto size = std::int64_t(unitSeconds(granularity));
            return localSeconds >= 0 ? localSeconds / size : -((-localSeconds + size - 1) / size);
        }
        }
        return 0;
    };
    return unitOf(d) == unitOf(other);
}

std::optional<std::int64_t> Calendar::difference(Component unit, Date start, Date end) const {
    if (!isUsable(start) || !isUsable(end)) return std::nullopt;
    const bool elapsed = unit == Component::hour || unit == Component::minute || unit == Component::second;
    const double size = unitSeconds(unit);
    const TimeZone z = zone();
    const LocalTime from = localTime(z, start);
    const auto to = localTime(z, end).day;
    // `start` plus `count` units: elapsed seconds for the small units, wall-clock days and
    // months for the large ones.
    const auto adding = [&](std::int64_t count) {
        if (elapsed) return start.addingTimeInterval(double(count) * size);
        date::local_days day = from.day;
        switch (unit) {
        case Component::day:
            day += date::days(count);
            break;
        case Component::weekOfYear:
            day += date::days(7 * count);
            break;
        case Component::month:
            day = addingMonths(day, count);
            break;
        default:
            day = addingMonths(day, 12 * count);
            break;
        }
        return instantOf(z, day, from.timeOfDay, from.fraction);
    };
    const std::int64_t days = (to - from.day).count();
    std::int64_t n = 0;
    switch (unit) {
    case Component::day:
        n = days;
        break;
    case Component::weekOfYear:
        n = days / 7;
        break;
    case Component::month:
        n = monthIndex(to) - monthIndex(from.day);
        break;
    case Component::year:
        n = (monthIndex(to) - monthIndex(from.day)) / 12;
        break;
    default:
        n = std::int64_t(std::trunc((end - start) / size));
        break;
    }
    // The estimate is off by at most one or two units; settle it by the definition.
    if (end >= start) {
        while (n > 0 && adding(n) > end)
            --n;
        while (adding(n + 1) <= end)
            ++n;
    } else {
        while (n < 0 && adding(n) < end)
            ++n;
        while (adding(n - 1) >= end)
            --n;
    }
    return n;
}

std::optional<Date> Calendar::date(const DateComponents& c) const {
    // Beyond these the date library's years would wrap; the result is checked again below.
    constexpr double limit = 9.7e11;
    if (!std::isfinite(c.second) || std::abs(c.second) > limit) return std::nullopt;
    const std::int64_t monthCount = std::int64_t(c.year) * 12 + (std::int64_t(c.month) - 1);
    const auto year = std::int64_t(std::floor(double(monthCount) / 12));
    if (year < -30000 || year > 30000) return std::nullopt;
    const date::local_days first{date::year(int(year)) / date::month(unsigned(monthCount - year * 12 + 1)) /
                                 1};
    const double whole = std::floor(c.second);
    const std::int64_t localSeconds = std::chrono::duration_cast<seconds>(first.time_since_epoch()).count() +
                                      (std::int64_t(c.day) - 1) * 86400 + std::int64_t(c.hour) * 3600 +
                                      std::int64_t(c.minute) * 60 + std::int64_t(whole);
    if (std::abs(double(localSeconds) - double(detail::referenceDate.time_since_epoch().count())) > limit)
        return std::nullopt;
    const Date result =
        join(ZoneRules::resolve(zone(), LocalSeconds(seconds(localSeconds))), c.second - whole);
    if (!isUsable(result)) return std::nullopt;
    return result;
}

} // namespace foundation
