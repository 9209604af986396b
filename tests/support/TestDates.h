#pragma once

#include "foundation/Date.h"

#include <date/date.h>

#include <chrono>
#include <cmath>
#include <ostream>

namespace testing_support {

// A Date from UTC calendar fields.
inline foundation::Date utc(int y, unsigned m, unsigned d, int h = 0, int min = 0) {
    const auto t = date::sys_days{date::year{y} / date::month{m} / date::day{d}} + std::chrono::hours(h) +
                   std::chrono::minutes(min);
    return foundation::Date::fromTimeIntervalSince1970(
        std::chrono::duration<double>(t.time_since_epoch()).count());
}

} // namespace testing_support

namespace foundation {

// Lets failing expectations show dates as UTC times instead of raw bytes.
inline void PrintTo(const Date& d, std::ostream* os) {
    const double s = d.timeIntervalSince1970();
    if (!std::isfinite(s)) {
        *os << "Date(" << d.timeIntervalSinceReferenceDate() << ")";
        return;
    }
    using namespace std::chrono;
    using date::operator<<;
    *os << date::sys_time<milliseconds>(milliseconds(std::llround(s * 1000))) << " UTC";
}

} // namespace foundation
