#pragma once

#include "foundation/Date.h"

#include "ZoneRules.h"

#include <chrono>
#include <cmath>
#include <cstdint>

// Instants as the calendar's arithmetic takes them.
namespace foundation::detail {

// The date library's years end at ±32767, which is about 30,700 years after the reference
// date (and 34,700 before); beyond that its year would wrap.
inline bool isUsable(Date d) {
    const double s = d.timeIntervalSinceReferenceDate();
    return std::isfinite(s) && std::abs(s) < 9.7e11;
}

inline constexpr date::sys_seconds referenceDate{std::chrono::seconds(978307200)};

// Whole seconds plus a fraction, measured from the reference date to keep a Date's precision.
struct Instant {
    date::sys_seconds whole;
    double fraction = 0;
};

inline Instant split(Date d) {
    const double s = d.timeIntervalSinceReferenceDate();
    const double whole = std::floor(s);
    return {referenceDate + std::chrono::seconds(static_cast<std::int64_t>(whole)), s - whole};
}

inline Date join(date::sys_seconds whole, double fraction = 0) {
    return Date(static_cast<double>((whole - referenceDate).count()) + fraction);
}

inline date::local_days localDay(const TimeZone& zone, Date d) {
    return date::floor<date::days>(ZoneRules::toLocal(zone, split(d).whole));
}

} // namespace foundation::detail
