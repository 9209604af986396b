#pragma once

#include <string>

namespace foundation {

// A language and region that formats follow, named by an identifier such as "de_DE" or
// "en_US_POSIX" (the fixed locale for machine-readable text). A cheap value.
class Locale {
public:
    explicit Locale(std::string identifier)
        : identifier_(std::move(identifier)) {}

    // The user's locale for dates: the first of LC_ALL, LC_TIME and LANG that is set and not
    // empty, without its encoding and modifier ("de_DE.UTF-8@euro" is "de_DE"). "C", "POSIX"
    // and no setting at all mean "en_US_POSIX".
    static Locale current();

    const std::string& identifier() const { return identifier_; }

    // The locale's week: its first day (1 is Sunday, 2 Monday … 7 Saturday) and how many days of
    // the new year the first week of the year holds at least.
    int firstWeekday() const;
    int minimumDaysInFirstWeek() const;

    bool operator==(const Locale&) const = default;

private:
    std::string identifier_;
};

} // namespace foundation
