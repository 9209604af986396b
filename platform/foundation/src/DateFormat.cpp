#include "foundation/DateFormat.h"

#include "IcuSupport.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace foundation {

namespace {

icu::DateFormat::EStyle icuStyle(DateStyle style) {
    switch (style) {
    case DateStyle::omitted:
        return icu::DateFormat::kNone;
    case DateStyle::numeric:
        return icu::DateFormat::kShort;
    case DateStyle::abbreviated:
        return icu::DateFormat::kMedium;
    case DateStyle::longForm:
        return icu::DateFormat::kLong;
    case DateStyle::complete:
        return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

icu::DateFormat::EStyle icuStyle(TimeStyle style) {
    switch (style) {
    case TimeStyle::omitted:
        return icu::DateFormat::kNone;
    case TimeStyle::shortened:
        return icu::DateFormat::kShort;
    case TimeStyle::standard:
        return icu::DateFormat::kMedium;
    case TimeStyle::complete:
        return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

} // namespace

std::string currentFormattingLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string name(value);
        name = name.substr(0, name.find_first_of(".@"));
        if (name.empty() || name == "C" || name == "POSIX") break;
        return name;
    }
    return "en_US";
}

std::string formatted(Date date, DateStyle dateStyle, TimeStyle timeStyle, const Calendar& calendar) {
    if (!std::isfinite(date.timeIntervalSinceReferenceDate())) return {};
    if (dateStyle == DateStyle::omitted && timeStyle == TimeStyle::omitted) return {};
    const icu::Locale locale(currentFormattingLocale().c_str());
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateTimeInstance(icuStyle(dateStyle), icuStyle(timeStyle), locale));
    if (!format) return {};
    format->adoptTimeZone(icu::TimeZone::createTimeZone(
        icu::UnicodeString::fromUTF8(detail::stringPiece(calendar.timeZone().identifier()))));
    icu::UnicodeString text;
    format->format(date.timeIntervalSince1970() * 1000.0, text);
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace foundation
