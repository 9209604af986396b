#include "ViewKit/DateFormatterExtensions.h"

namespace ViewKit {

using foundation::Calendar;
using foundation::DateFormatter;

namespace {

DateFormatter isoFormatter(std::string pattern) {
    // The calendar's own zone plays no part in the formatter, which has its own; so one
    // calendar value is copied rather than the user's zone looked up at every date.
    static const Calendar iso8601(Calendar::Identifier::iso8601);
    DateFormatter formatter(foundation::Locale("en_US_POSIX"), iso8601, foundation::TimeZone::gmt());
    formatter.setDateFormat(std::move(pattern));
    return formatter;
}

} // namespace

DateFormatter makeDateFormatter(DateFormatter::Style dateStyle, DateFormatter::Style timeStyle,
                                foundation::Locale locale, Calendar calendar) {
    DateFormatter formatter;
    formatter.setDateStyle(dateStyle);
    formatter.setTimeStyle(timeStyle);
    formatter.setLocale(std::move(locale));
    formatter.setCalendar(calendar);
    return formatter;
}

DateFormatter makeDateFormatter(std::string dateFormat, Calendar calendar, foundation::Locale locale,
                                std::optional<foundation::TimeZone> timeZone) {
    DateFormatter formatter;
    formatter.setCalendar(calendar);
    formatter.setLocale(std::move(locale));
    formatter.setDateFormat(std::move(dateFormat));
    if (timeZone) formatter.setTimeZone(timeZone);
    return formatter;
}

DateFormatter iso8601DateFormatter() {
    return isoFormatter("yyyy-MM-dd'T'HH:mm:ssZ");
}

DateFormatter iso8601WithMillisecondsDateFormatter() {
    return isoFormatter("yyyy-MM-dd'T'HH:mm:ss.SSSZ");
}

} // namespace ViewKit
