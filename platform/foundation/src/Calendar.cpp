#include "foundation/Calendar.h"

#include "foundation/Locale.h"

#include "CalendarTime.h"
#include "ZoneRules.h"

#include <chrono>

namespace foundation {

using detail::isUsable;
using detail::join;
using detail::localDay;
using detail::LocalSeconds;
using detail::split;
using detail::ZoneRules;

namespace {

struct WeekRules {
    int firstWeekday;
    int minimumDays;
};

WeekRules weekRulesOf(Calendar::Identifier identifier) {
    return identifier == Calendar::Identifier::iso8601 ? WeekRules{2, 4} : WeekRules{1, 1};
}

} // namespace

Calendar::Calendar(Identifier identifier)
    : Calendar(identifier, TimeZone::current(), weekRulesOf(identifier).firstWeekday,
               weekRulesOf(identifier).minimumDays) {}

Calendar Calendar::autoupdatingCurrent() {
    const Locale locale = Locale::current();
    return Calendar(Identifier::gregorian, std::nullopt, locale.firstWeekday(),
                    locale.minimumDaysInFirstWeek());
}

Calendar Calendar::current() {
    Calendar calendar = autoupdatingCurrent();
    calendar.zone_ = TimeZone::current();
    return calendar;
}

std::optional<Calendar> Calendar::withTimeZone(std::string_view identifier) {
    auto zone = TimeZone::named(identifier);
    if (!zone) return std::nullopt;
    Calendar calendar(Identifier::gregorian);
    calendar.zone_ = *zone;
    return calendar;
}

TimeZone Calendar::zone() const {
    return zone_ ? *zone_ : TimeZone::current();
}

TimeZone Calendar::timeZone() const {
    return zone();
}

void Calendar::setFirstWeekday(int weekday) {
    if (weekday >= 1 && weekday <= 7) firstWeekday_ = weekday;
}

void Calendar::setMinimumDaysInFirstWeek(int days) {
    if (days >= 1 && days <= 7) minimumDaysInFirstWeek_ = days;
}

Date Calendar::startOfDay(Date d) const {
    if (!isUsable(d)) return d;
    const TimeZone z = zone();
    const LocalSeconds midnight{localDay(z, d)};
    const auto info = ZoneRules::localInfo(z, midnight);
    // Midnight skipped by a clock change: the day begins where the gap ends.
    if (info.result == date::local_info::nonexistent) return join(info.first.end);
    return join(ZoneRules::resolve(z, midnight));
}

bool Calendar::isDateInSameDayAs(Date d, Date other) const {
    if (!isUsable(d) || !isUsable(other)) return false;
    const TimeZone z = zone();
    return localDay(z, d) == localDay(z, other);
}

bool Calendar::isDateInToday(Date d) const {
    return isDateInSameDayAs(d, Date::now());
}

Date Calendar::dateByAddingDays(int days, Date d) const {
    if (!isUsable(d)) return d;
    const TimeZone z = zone();
    const auto [whole, fraction] = split(d);
    const auto later = ZoneRules::toLocal(z, whole) + date::days(days);
    return join(ZoneRules::resolve(z, later), fraction);
}

DateComponents Calendar::dateComponents(Date d) const {
    if (!isUsable(d)) return {};
    const auto [whole, fraction] = split(d);
    const auto local = ZoneRules::toLocal(zone(), whole);
    const auto day = date::floor<date::days>(local);
    const date::year_month_day ymd(day);
    const date::hh_mm_ss time(local - day);
    return {
        int(ymd.year()),           int(unsigned(ymd.month())),  int(unsigned(ymd.day())),
        int(time.hours().count()), int(time.minutes().count()), double(time.seconds().count()) + fraction};
}

} // namespace foundation
