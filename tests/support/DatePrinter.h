#pragma once

#include "foundation/Date.h"

#include <date/date.h>

#include <chrono>
#include <cmath>
#include <ostream>

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
    *os << date::sys_time<milliseconds>(milliseconds(static_cast<long long>(std::llround(s * 1000))))
        << " UTC";
}

} // namespace foundation
