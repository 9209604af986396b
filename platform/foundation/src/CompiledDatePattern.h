#pragma once

#include "foundation/Date.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation::detail {

// ICU's instants are milliseconds since 1970 as a double. A Date's seconds lose a little to
// binary fractions, so the milliseconds are snapped to the nearest microsecond first: a date
// read from "…09.123" writes as "…09.123" again, never "…09.122".
double udateFromDate(Date date);
Date dateFromUDate(double udate);

// A date pattern made only of the numeric fields yyyy, MM, dd, HH, mm, ss, S…SSS and Z…ZZZ
// between literals (each field at most once, no two digit fields side by side), in a fixed-offset
// zone and ASCII digits. It gives what ICU gives for such a pattern in the Gregorian years 1583
// to 9999: formatting, and reading texts of exactly the fields' widths. Texts and dates it
// cannot judge that way are left to ICU.
struct CompiledDatePattern {
    enum class Kind { literal, year, month, day, hour, minute, second, fraction, zone };
    struct Item {
        Kind kind;
        int width = 0;
        std::string literal;
    };

    // Nothing for any other pattern.
    static std::optional<CompiledDatePattern> compile(std::string_view pattern);

    enum class Outcome { date, noDate, undecided };
    struct Reading {
        Outcome outcome = Outcome::undecided;
        Date date;
    };
    // `zoneOffset` (seconds east of GMT) counts when the pattern has no Z.
    Reading parse(std::string_view text, int zoneOffset) const;
    // Nothing outside years 1583 to 9999.
    std::optional<std::string> format(Date date, int zoneOffset) const;

    std::vector<Item> items;
};

} // namespace foundation::detail
