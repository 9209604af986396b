#pragma once

#include "foundation/Calendar.h"
#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

#include <optional>
#include <string>

// Ready-made date formatters. Each call makes a new formatter that the caller owns.
namespace ViewKit {

// A formatter with the locale's pattern for the two styles, in the user's zone.
foundation::DateFormatter makeDateFormatter(foundation::DateFormatter::Style dateStyle,
                                            foundation::DateFormatter::Style timeStyle,
                                            foundation::Locale locale, foundation::Calendar calendar);
// A formatter with a pattern; without a time zone it follows the user's zone (TZ) at each use.
foundation::DateFormatter makeDateFormatter(std::string dateFormat, foundation::Calendar calendar,
                                            foundation::Locale locale,
                                            std::optional<foundation::TimeZone> timeZone = std::nullopt);

// Machine-readable dates: the ISO 8601 calendar, the "en_US_POSIX" locale and GMT, as
// "yyyy-MM-dd'T'HH:mm:ssZ" ("2024-03-05T14:07:09+0000") and with milliseconds as
// "yyyy-MM-dd'T'HH:mm:ss.SSSZ" ("2024-03-05T14:07:09.123+0000").
foundation::DateFormatter iso8601DateFormatter();
foundation::DateFormatter iso8601WithMillisecondsDateFormatter();

} // namespace ViewKit
