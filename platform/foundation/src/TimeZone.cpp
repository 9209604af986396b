#include "foundation/TimeZone.h"

#include "ZoneRules.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>
#include <exception>

namespace foundation {

namespace detail {

const date::time_zone* databaseZoneNamed(std::string_view name) {
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// The date library's own current zone reads only /etc/localtime, so TZ is read here.
const date::time_zone* userDatabaseZone() {
    if (const char* tz = std::getenv("TZ")) {
        std::string_view name(tz);
        if (name.starts_with(':')) name.remove_prefix(1);
        if (name.empty()) name = "UTC";
        constexpr std::string_view zoneinfo = "zoneinfo/";
        if (auto pos = name.rfind(zoneinfo); name.starts_with('/') && pos != std::string_view::npos)
            name.remove_prefix(pos + zoneinfo.size());
        if (auto* zone = databaseZoneNamed(name)) return zone;
    }
    try {
        return date::current_zone();
    } catch (const std::exception&) {
        return databaseZoneNamed("UTC");
    }
}

LocalSeconds ZoneRules::toLocal(const TimeZone& zone, date::sys_seconds t) {
    if (zone.zone_) return zone.zone_->to_local(t);
    return LocalSeconds(t.time_since_epoch() + std::chrono::seconds(zone.offset_));
}

date::local_info ZoneRules::localInfo(const TimeZone& zone, LocalSeconds t) {
    if (zone.zone_) return zone.zone_->get_info(t);
    date::local_info info{};
    info.result = date::local_info::unique;
    info.first.begin = date::sys_seconds::min();
    info.first.end = date::sys_seconds::max();
    info.first.offset = std::chrono::seconds(zone.offset_);
    return info;
}

date::sys_seconds ZoneRules::resolve(const TimeZone& zone, LocalSeconds t) {
    const auto info = localInfo(zone, t);
    return date::sys_seconds((t - info.first.offset).time_since_epoch());
}

} // namespace detail

std::optional<TimeZone> TimeZone::named(std::string_view identifier) {
    if (const auto* zone = detail::databaseZoneNamed(identifier)) return TimeZone(zone, 0);
    return std::nullopt;
}

std::optional<TimeZone> TimeZone::withSecondsFromGMT(int seconds) {
    constexpr int limit = 18 * 3600;
    if (seconds < -limit || seconds > limit) return std::nullopt;
    return TimeZone(nullptr, seconds);
}

TimeZone TimeZone::gmt() {
    return TimeZone(nullptr, 0);
}

TimeZone TimeZone::current() {
    // Without a database there is only GMT.
    return TimeZone(detail::userDatabaseZone(), 0);
}

std::string TimeZone::identifier() const {
    if (zone_) return std::string(zone_->name());
    if (offset_ == 0) return "GMT";
    const int magnitude = std::abs(offset_);
    std::string text =
        fmt::format("GMT{}{:02}{:02}", offset_ < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
    if (magnitude % 60 != 0) text += fmt::format("{:02}", magnitude % 60);
    return text;
}

int TimeZone::secondsFromGMT(Date date) const {
    if (!zone_) return offset_;
    const double s = date.timeIntervalSince1970();
    if (!std::isfinite(s) || std::abs(s) > 9e11)
        return int(zone_->get_info(date::sys_seconds{}).offset.count());
    const date::sys_seconds t{std::chrono::seconds(static_cast<std::int64_t>(std::floor(s)))};
    return int(zone_->get_info(t).offset.count());
}

} // namespace foundation
