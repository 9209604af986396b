#include "foundation/Calendar.h"

#include <date/date.h>
#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>

namespace foundation {

namespace {

using std::chrono::seconds;
using LocalSeconds = date::local_time<seconds>;

const date::time_zone* zoneNamed(std::string_view name) {
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// The date library's own current zone reads only /etc/localtime, so TZ is read here.
const date::time_zone* userZone() {
    if (const char* tz = std::getenv("TZ")) {
        std::string_view name(tz);
        if (name.starts_with(':')) name.remove_prefix(1);
        if (name.empty()) name = "UTC";
        constexpr std::string_view zoneinfo = "zoneinfo/";
        if (auto pos = name.rfind(zoneinfo); name.starts_with('/') && pos != std::string_view::npos)
            name.remove_prefix(pos + zoneinfo.size());
        if (auto* zone = zoneNamed(name)) return zone;
    }
    try {
        return date::current_zone();
    } catch (const std::exception&) {
        return zoneNamed("UTC"); // null when there is no database at all; then UTC arithmetic
    }
}

// The date library's years end at ±32767, which is about 30,700 years after the reference
// date (and 34,700 before); beyond that its year would wrap.
bool isUsable(Date d) {
    const double s = d.timeIntervalSinceReferenceDate();
    return std::isfinite(s) && std::abs(s) < 9.7e11;
}

constexpr date::sys_seconds referenceDate{seconds(978307200)};

// Whole seconds plus a fraction, measured from the reference date to keep a Date's precision.
struct Instant {
    date::sys_seconds whole;
    double fraction = 0;
};

Instant split(Date d) {
    const double s = d.timeIntervalSinceReferenceDate();
    const double whole = std::floor(s);
    return {referenceDate + seconds(static_cast<std::int64_t>(whole)), s - whole};
}

Date join(date::sys_seconds whole, double fraction = 0) {
    return Date(static_cast<double>((whole - referenceDate).count()) + fraction);
}

LocalSeconds toLocal(const date::time_zone* zone, date::sys_seconds t) {
    if (!zone) return LocalSeconds(t.time_since_epoch());
    return zone->to_local(t);
}

date::local_info localInfo(const date::time_zone* zone, LocalSeconds t) {
    if (zone) return zone->get_info(t);
    date::local_info info{};
    info.result = date::local_info::unique;
    info.first.begin = date::sys_seconds::min();
    info.first.end = date::sys_seconds::max();
    info.first.abbrev = "UTC";
    return info;
}

// A wall-clock time as an instant: the earlier one when it occurs twice; one in a gap moves
// forward by the gap's length (read with the offset in force before the gap).
date::sys_seconds resolve(const date::time_zone* zone, LocalSeconds t) {
    const auto info = localInfo(zone, t);
    return date::sys_seconds((t - info.first.offset).time_since_epoch());
}

date::local_days localDay(const date::time_zone* zone, Date d) {
    return date::floor<date::days>(toLocal(zone, split(d).whole));
}

} // namespace

Calendar Calendar::autoupdatingCurrent() {
    return Calendar(nullptr);
}

Calendar Calendar::current() {
    const auto* zone = userZone();
    // Without a database there is nothing to keep; the calendar then reads UTC at each use.
    return Calendar(zone);
}

std::optional<Calendar> Calendar::withTimeZone(std::string_view identifier) {
    if (const auto* zone = zoneNamed(identifier)) return Calendar(zone);
    return std::nullopt;
}

const date::time_zone* Calendar::zone() const {
    return zone_ ? zone_ : userZone();
}

std::string Calendar::timeZone() const {
    const auto* z = zone();
    return z ? std::string(z->name()) : std::string("UTC");
}

Date Calendar::startOfDay(Date d) const {
    if (!isUsable(d)) return d;
    const auto* z = zone();
    const LocalSeconds midnight{localDay(z, d)};
    const auto info = localInfo(z, midnight);
    // Midnight skipped by a clock change: the day begins where the gap ends.
    if (info.result == date::local_info::nonexistent) return join(info.first.end);
    return join(resolve(z, midnight));
}

bool Calendar::isDateInSameDayAs(Date d, Date other) const {
    if (!isUsable(d) || !isUsable(other)) return false;
    const auto* z = zone();
    return localDay(z, d) == localDay(z, other);
}

bool Calendar::isDateInToday(Date d) const {
    return isDateInSameDayAs(d, Date::now());
}

Date Calendar::dateByAddingDays(int days, Date d) const {
    if (!isUsable(d)) return d;
    const auto* z = zone();
    const auto [whole, fraction] = split(d);
    const auto later = toLocal(z, whole) + date::days(days);
    return join(resolve(z, later), fraction);
}

DateComponents Calendar::dateComponents(Date d) const {
    if (!isUsable(d)) return {};
    const auto [whole, fraction] = split(d);
    const auto local = toLocal(zone(), whole);
    const auto day = date::floor<date::days>(local);
    const date::year_month_day ymd(day);
    const date::hh_mm_ss time(local - day);
    return {
        int(ymd.year()),           int(unsigned(ymd.month())),  int(unsigned(ymd.day())),
        int(time.hours().count()), int(time.minutes().count()), double(time.seconds().count()) + fraction};
}

} // namespace foundation
