#include "foundation/Locale.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>

namespace foundation {

namespace {

struct WeekRules {
    int firstWeekday = 1;
    int minimumDays = 1;
};

WeekRules lookUpWeekRules(const std::string& identifier) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::Locale(identifier.c_str()), status));
    if (U_FAILURE(status) || !calendar) return {};
    return {int(calendar->getFirstDayOfWeek(status)), int(calendar->getMinimalDaysInFirstWeek())};
}

// ICU makes a calendar to answer; calendars ask at every Calendar::current(), so answers are kept.
WeekRules weekRules(const std::string& identifier) {
    static std::mutex mutex;
    static std::map<std::string, WeekRules, std::less<>> known;
    std::lock_guard lock(mutex);
    if (auto found = known.find(identifier); found != known.end()) return found->second;
    return known.emplace(identifier, lookUpWeekRules(identifier)).first->second;
}

} // namespace

Locale Locale::current() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string_view name(value);
        name = name.substr(0, name.find_first_of(".@"));
        if (name.empty() || name == "C" || name == "POSIX") break;
        return Locale(std::string(name));
    }
    return Locale("en_US_POSIX");
}

int Locale::firstWeekday() const {
    return weekRules(identifier_).firstWeekday;
}

int Locale::minimumDaysInFirstWeek() const {
    return weekRules(identifier_).minimumDays;
}

} // namespace foundation
