#include "ViewKit/CalendarExtensions.h"

namespace ViewKit {

using foundation::Calendar;
using foundation::Date;
using Unit = Calendar::Component;

bool isDateSameDayAs(const Calendar& calendar, Date date, Date other) {
    return calendar.isDate(date, other, Unit::day);
}
bool isDateSameWeekAs(const Calendar& calendar, Date date, Date other) {
    return calendar.isDate(date, other, Unit::weekOfYear);
}
bool isDateSameMonthAs(const Calendar& calendar, Date date, Date other) {
    return calendar.isDate(date, other, Unit::month);
}
bool isDateSameYearAs(const Calendar& calendar, Date date, Date other) {
    return calendar.isDate(date, other, Unit::year);
}

bool isDateToday(const Calendar& calendar, Date date) {
    return isDateSameDayAs(calendar, date, Date::now());
}
bool isDateThisWeek(const Calendar& calendar, Date date) {
    return isDateSameWeekAs(calendar, date, Date::now());
}
bool isDateThisMonth(const Calendar& calendar, Date date) {
    return isDateSameMonthAs(calendar, date, Date::now());
}
bool isDateThisYear(const Calendar& calendar, Date date) {
    return isDateSameYearAs(calendar, date, Date::now());
}

std::int64_t years(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::year, from, to).value_or(0);
}
std::int64_t months(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::month, from, to).value_or(0);
}
std::int64_t weeks(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::weekOfYear, from, to).value_or(0);
}
std::int64_t days(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::day, from, to).value_or(0);
}
std::int64_t hours(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::hour, from, to).value_or(0);
}
std::int64_t minutes(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::minute, from, to).value_or(0);
}
std::int64_t seconds(const Calendar& calendar, Date from, Date to) {
    return calendar.difference(Unit::second, from, to).value_or(0);
}

std::optional<Date> dateFromComponents(const Calendar& calendar, int year, int month, int day, int hour,
                                       int minute, int second) {
    return calendar.date(foundation::DateComponents{year, month, day, hour, minute, double(second)});
}

} // namespace ViewKit
