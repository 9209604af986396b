#include "Views/UpdateCheckInterval.h"

#include "foundation/Bundle.h"

#include <functional>

namespace quoril {

foundation::TimeInterval rawValue(UpdateCheckInterval interval) {
    switch (interval) {
    case UpdateCheckInterval::hourly: return 3600;
    case UpdateCheckInterval::daily: return 86400;
    case UpdateCheckInterval::weekly: return 604800;
    case UpdateCheckInterval::monthly: return 2629800;
    }
    return 0;
}

std::optional<UpdateCheckInterval> updateCheckIntervalFromRawValue(foundation::TimeInterval raw) {
    for (UpdateCheckInterval interval : allUpdateCheckIntervals)
        if (rawValue(interval) == raw) return interval;
    return std::nullopt;
}

std::size_t id(UpdateCheckInterval interval) {
    return std::hash<foundation::TimeInterval>{}(rawValue(interval));
}

// Each title is an update check interval's name.
std::string title(UpdateCheckInterval interval) {
    const auto& bundle = *foundation::Bundle::main();
    switch (interval) {
    case UpdateCheckInterval::hourly: return bundle.localizedString("Hourly");
    case UpdateCheckInterval::daily: return bundle.localizedString("Daily");
    case UpdateCheckInterval::weekly: return bundle.localizedString("Weekly");
    case UpdateCheckInterval::monthly: return bundle.localizedString("Monthly");
    }
    return {};
}

} // namespace quoril
