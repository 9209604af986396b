#pragma once

#include "foundation/Calendar.h"
#include "foundation/Date.h"

#include <string>

namespace foundation {

// How much of the day a formatted date shows: none, "12/9/26", "Dec 9, 2026",
// "December 9, 2026", "Wednesday, December 9, 2026" (in en_US).
enum class DateStyle { omitted, numeric, abbreviated, longForm, complete };
// How much of the time of day: none, "1:40 PM", "1:40:00 PM", "1:40:00 PM Coordinated
// Universal Time" (in en_US).
enum class TimeStyle { omitted, shortened, standard, complete };

// The user's formatting locale, read from the environment on each call: the first set of
// LC_ALL, LC_TIME and LANG, without codeset or modifier ("de_DE.UTF-8@euro" gives "de_DE").
// "C", "POSIX" and an unset one mean "en_US".
std::string currentFormattingLocale();

// `date` in the user's formatting locale, in the calendar's time zone (the user's by default),
// with the locale's own wording and punctuation. A date that is not finite gives "".
std::string formatted(Date date, DateStyle dateStyle, TimeStyle timeStyle,
                      const Calendar& calendar = Calendar::autoupdatingCurrent());

} // namespace foundation
