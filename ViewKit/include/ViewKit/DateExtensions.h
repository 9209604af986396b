#pragma once

#include "foundation/Calendar.h"
#include "foundation/Date.h"

#include <optional>

// Date arithmetic in fixed units and date comparisons. A day is always 86,400 seconds, across
// clock changes too; for calendar days use the calendar's own operations.
namespace ViewKit {

inline foundation::Date addingDays(foundation::Date date, double days) {
    return date.addingTimeInterval(days * 60 * 60 * 24);
}
inline foundation::Date addingHours(foundation::Date date, double hours) {
    return date.addingTimeInterval(hours * 60 * 60);
}
inline foundation::Date addingMinutes(foundation::Date date, double minutes) {
    return date.addingTimeInterval(minutes * 60);
}
inline foundation::Date addingSeconds(foundation::Date date, double seconds) {
    return date.addingTimeInterval(seconds);
}
inline foundation::Date removingDays(foundation::Date date, double days) {
    return date.addingTimeInterval(days * -60 * 60 * 24);
}
inline foundation::Date removingHours(foundation::Date date, double hours) {
    return date.addingTimeInterval(hours * -60 * 60);
}
inline foundation::Date removingMinutes(foundation::Date date, double minutes) {
    return date.addingTimeInterval(minutes * -60);
}
inline foundation::Date removingSeconds(foundation::Date date, double seconds) {
    return date.addingTimeInterval(-seconds);
}

// Strictly later, strictly earlier, the same instant.
inline bool isAfter(foundation::Date date, foundation::Date other) {
    return date > other;
}
inline bool isBefore(foundation::Date date, foundation::Date other) {
    return date < other;
}
inline bool isSame(foundation::Date date, foundation::Date other) {
    return date == other;
}

// A field of the date in `calendar`; nothing when the calendar gives none (a date that is not
// finite). Without a calendar, in the user's calendar at the call.
std::optional<int> year(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> month(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> day(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> hour(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> minute(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> second(foundation::Date date, const foundation::Calendar& calendar);
std::optional<int> year(foundation::Date date);
std::optional<int> month(foundation::Date date);
std::optional<int> day(foundation::Date date);
std::optional<int> hour(foundation::Date date);
std::optional<int> minute(foundation::Date date);
std::optional<int> second(foundation::Date date);

} // namespace ViewKit
