#pragma once

#include "foundation/Calendar.h"
#include "foundation/Date.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class DateFormatter;

namespace detail {
struct CompiledDatePattern;
// The same answers through ICU alone, for tests that compare them with the compiled patterns.
std::string stringThroughICU(const DateFormatter& formatter, Date date);
std::optional<Date> dateThroughICU(const DateFormatter& formatter, std::string_view text);
} // namespace detail

// Dates as text and back, in the patterns of Unicode Technical Standard #35 ("yyyy-MM-dd")
// or in a locale's date and time styles, with a locale, a calendar and a time zone. The
// calendar gives the week rules; its years are ICU's Gregorian ones, Julian before 15 October
// 1582 (so Date::distantPast() is 1 January of year 1).
//
// Parsing is strict: fields must be in range and the whole text must be read. A formatter
// keeps what it prepared between uses, so one thread uses a formatter at a time; copies are
// independent. Patterns of numeric fields (yyyy, MM, dd, HH, mm, ss, S to SSS, Z to ZZZ) in a
// fixed-offset zone and a locale with ASCII digits are handled without ICU, with ICU's results;
// ICU settles every text they do not read as plainly right or wrong.
class DateFormatter {
public:
    enum class Style { none, short_, medium, long_, full };

    // The user's locale and calendar, the user's zone at each use, no styles and no pattern.
    DateFormatter();
    DateFormatter(Locale locale, Calendar calendar, std::optional<TimeZone> timeZone);
    DateFormatter(const DateFormatter& other);
    DateFormatter& operator=(const DateFormatter& other);
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;
    ~DateFormatter();

    Style dateStyle() const { return dateStyle_; }
    Style timeStyle() const { return timeStyle_; }
    // A style replaces the pattern with the locale's for the two styles.
    void setDateStyle(Style style);
    void setTimeStyle(Style style);
    const Locale& locale() const { return locale_; }
    void setLocale(Locale locale);
    const Calendar& calendar() const { return calendar_; }
    void setCalendar(Calendar calendar);
    // None: the user's zone (TZ) at each use.
    const std::optional<TimeZone>& timeZone() const { return timeZone_; }
    void setTimeZone(std::optional<TimeZone> zone);
    // The pattern set, else the locale's for the styles; empty when both styles are none.
    std::string dateFormat() const;
    void setDateFormat(std::string pattern);

    // Empty for a date that is not finite, or when the pattern is empty or invalid.
    std::string string(Date date) const;
    // Nothing unless the whole text is a date in the pattern.
    std::optional<Date> date(std::string_view text) const;

private:
    struct Engine;
    friend std::string detail::stringThroughICU(const DateFormatter&, Date);
    friend std::optional<Date> detail::dateThroughICU(const DateFormatter&, std::string_view);

    void changed();
    TimeZone zoneInUse() const;
    // The ICU formatter, set to the zone in use; null when the pattern is invalid.
    Engine* engine() const;
    // The compiled pattern when it serves this formatter, else null.
    const detail::CompiledDatePattern* compiled() const;
    std::string stringWithICU(Date date) const;
    std::optional<Date> dateWithICU(std::string_view text) const;

    Locale locale_;
    Calendar calendar_;
    std::optional<TimeZone> timeZone_;
    Style dateStyle_ = Style::none;
    Style timeStyle_ = Style::none;
    std::optional<std::string> pattern_;

    mutable std::unique_ptr<Engine> engine_;
    mutable std::shared_ptr<const detail::CompiledDatePattern> compiled_;
    mutable bool compiledChecked_ = false;
};

} // namespace foundation
