#pragma once

#include "foundation/Date.h"
#include "foundation/JSONCoding.h"
#include "foundation/RawRepresentable.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace quoril {

// The check frequencies the Updates tab offers; the raw value is the interval in seconds.
enum class UpdateCheckInterval { hourly, daily, weekly, monthly };

inline constexpr std::array<UpdateCheckInterval, 4> allUpdateCheckIntervals{
    UpdateCheckInterval::hourly, UpdateCheckInterval::daily, UpdateCheckInterval::weekly,
    UpdateCheckInterval::monthly};

// 3600, 86400, 604800, and a twelfth of 365.25 days (2629800) for monthly.
foundation::TimeInterval rawValue(UpdateCheckInterval interval);
// Only exactly one of the four numbers makes an interval.
std::optional<UpdateCheckInterval> updateCheckIntervalFromRawValue(foundation::TimeInterval raw);
// The hash of the raw value.
std::size_t id(UpdateCheckInterval interval);
// "Hourly", "Daily", "Weekly", "Monthly", localised each time it is read.
std::string title(UpdateCheckInterval interval);

} // namespace quoril

template <> struct foundation::RawRepresentation<quoril::UpdateCheckInterval> {
    using RawValue = foundation::TimeInterval;
    static foundation::TimeInterval rawValue(quoril::UpdateCheckInterval interval) {
        return quoril::rawValue(interval);
    }
    static std::optional<quoril::UpdateCheckInterval> fromRawValue(foundation::TimeInterval raw) {
        return quoril::updateCheckIntervalFromRawValue(raw);
    }
};

template <> inline constexpr bool foundation::codesByRawValue<quoril::UpdateCheckInterval> = true;
