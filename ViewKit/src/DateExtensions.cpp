#include "ViewKit/DateExtensions.h"

namespace ViewKit {

using foundation::Calendar;
using foundation::Date;
using Unit = Calendar::Component;

std::optional<int> year(Date date, const Calendar& calendar) {
    return calendar.component(Unit::year, date);
}
std::optional<int> month(Date date, const Calendar& calendar) {
    return calendar.component(Unit::month, date);
}
std::optional<int> day(Date date, const Calendar& calendar) {
    return calendar.component(Unit::day, date);
}
std::optional<int> hour(Date date, const Calendar& calendar) {
    return calendar.component(Unit::hour, date);
}
std::optional<int> minute(Date date, const Calendar& calendar) {
    return calendar.component(Unit::minute, date);
}
std::optional<int> second(Date date, const Calendar& calendar) {
    return calendar.component(Unit::second, date);
}

std::optional<int> year(Date date) {
    return year(date, Calendar::current());
}
std::optional<int> month(Date date) {
    return month(date, Calendar::current());
}
std::optional<int> day(Date date) {
    return day(date, Calendar::current());
}
std::optional<int> hour(Date date) {
    return hour(date, Calendar::current());
}
std::optional<int> minute(Date date) {
    return minute(date, Calendar::current());
}
std::optional<int> second(Date date) {
    return second(date, Calendar::current());
}

} // namespace ViewKit
