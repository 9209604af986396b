#pragma once

#include "foundation/Calendar.h"
#include "foundation/Date.h"

#include <cstdint>
#include <optional>

// Questions about dates in a calendar: the same day, week, month or year; now; differences.
namespace ViewKit {

bool isDateSameDayAs(const foundation::Calendar& calendar, foundation::Date date, foundation::Date other);
bool isDateSameWeekAs(const foundation::Calendar& calendar, foundation::Date date, foundation::Date other);
bool isDateSameMonthAs(const foundation::Calendar& calendar, foundation::Date date, foundation::Date other);
bool isDateSameYearAs(const foundation::Calendar& calendar, foundation::Date date, foundation::Date other);

// Against the current date and time (foundation::Clock), read at each call.
bool isDateToday(const foundation::Calendar& calendar, foundation::Date date);
bool isDateThisWeek(const foundation::Calendar& calendar, foundation::Date date);
bool isDateThisMonth(const foundation::Calendar& calendar, foundation::Date date);
bool isDateThisYear(const foundation::Calendar& calendar, foundation::Date date);

// Whole units from `from` to `to` (negative when `to` is earlier), as Calendar::difference
// counts them; 0 when the calendar gives no value.
std::int64_t years(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t months(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t weeks(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t days(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t hours(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t minutes(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);
std::int64_t seconds(const foundation::Calendar& calendar, foundation::Date from, foundation::Date to);

// The date of these six fields in the calendar's zone; out-of-range fields roll over
// (30 February is 1 March in a leap year). Nothing when the calendar cannot form one.
std::optional<foundation::Date> dateFromComponents(const foundation::Calendar& calendar, int year, int month,
                                                   int day, int hour, int minute, int second);

} // namespace ViewKit
