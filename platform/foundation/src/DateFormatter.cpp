#include "foundation/DateFormatter.h"

#include "foundation/UTF8.h"

#include "CompiledDatePattern.h"
#include "IcuSupport.h"

#include <unicode/gregocal.h>
#include <unicode/numsys.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <limits>
#include <map>
#include <mutex>

namespace foundation {

namespace {

icu::DateFormat::EStyle icuStyle(DateFormatter::Style style) {
    switch (style) {
    case DateFormatter::Style::short_:
        return icu::DateFormat::kShort;
    case DateFormatter::Style::medium:
        return icu::DateFormat::kMedium;
    case DateFormatter::Style::long_:
        return icu::DateFormat::kLong;
    case DateFormatter::Style::full:
        return icu::DateFormat::kFull;
    case DateFormatter::Style::none:
        break;
    }
    return icu::DateFormat::kNone;
}

icu::TimeZone* icuZone(const TimeZone& zone) {
    const icu::UnicodeString identifier = icu::UnicodeString::fromUTF8(zone.identifier());
    if (zone.isFixedOffset()) return new icu::SimpleTimeZone(zone.secondsFromGMT(Date()) * 1000, identifier);
    return icu::TimeZone::createTimeZone(identifier);
}

// Whether the locale writes numbers in ASCII digits. ICU looks it up in its data, so answers
// are kept.
bool writesASCIIDigits(const Locale& locale) {
    static std::mutex mutex;
    static std::map<std::string, bool, std::less<>> known;
    std::lock_guard lock(mutex);
    if (auto found = known.find(locale.identifier()); found != known.end()) return found->second;
    bool ascii = false;
    if (locale.identifier().find('@') == std::string::npos) {
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<icu::NumberingSystem> numbers(
            icu::NumberingSystem::createInstance(icu::Locale(locale.identifier().c_str()), status));
        ascii = U_SUCCESS(status) && numbers && std::string_view(numbers->getName()) == "latn";
    }
    known.emplace(locale.identifier(), ascii);
    return ascii;
}

icu::UnicodeString stylePattern(DateFormatter::Style dateStyle, DateFormatter::Style timeStyle,
                                const icu::Locale& locale) {
    icu::UnicodeString pattern;
    if (dateStyle == DateFormatter::Style::none && timeStyle == DateFormatter::Style::none) return pattern;
    const std::unique_ptr<icu::DateFormat> styled(
        icu::DateFormat::createDateTimeInstance(icuStyle(dateStyle), icuStyle(timeStyle), locale));
    if (const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(styled.get()))
        simple->toPattern(pattern);
    return pattern;
}

} // namespace

struct DateFormatter::Engine {
    std::unique_ptr<icu::SimpleDateFormat> format;
    std::string zone; // the identifier of the zone set on `format`
};

DateFormatter::DateFormatter()
    : DateFormatter(Locale::current(), Calendar::current(), std::nullopt) {}

DateFormatter::DateFormatter(Locale locale, Calendar calendar, std::optional<TimeZone> timeZone)
    : locale_(std::move(locale))
    , calendar_(calendar)
    , timeZone_(timeZone) {}

DateFormatter::DateFormatter(const DateFormatter& other)
    : locale_(other.locale_)
    , calendar_(other.calendar_)
    , timeZone_(other.timeZone_)
    , dateStyle_(other.dateStyle_)
    , timeStyle_(other.timeStyle_)
    , pattern_(other.pattern_)
    , compiled_(other.compiled_)
    , compiledChecked_(other.compiledChecked_) {}

DateFormatter& DateFormatter::operator=(const DateFormatter& other) {
    if (this != &other) *this = DateFormatter(other);
    return *this;
}

DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;
DateFormatter::~DateFormatter() = default;

void DateFormatter::changed() {
    engine_.reset();
    compiled_.reset();
    compiledChecked_ = false;
}

void DateFormatter::setDateStyle(Style style) {
    dateStyle_ = style;
    pattern_.reset();
    changed();
}

void DateFormatter::setTimeStyle(Style style) {
    timeStyle_ = style;
    pattern_.reset();
    changed();
}

void DateFormatter::setLocale(Locale locale) {
    locale_ = std::move(locale);
    changed();
}

void DateFormatter::setCalendar(Calendar calendar) {
    calendar_ = calendar;
    changed();
}

void DateFormatter::setTimeZone(std::optional<TimeZone> zone) {
    timeZone_ = zone;
}

void DateFormatter::setDateFormat(std::string pattern) {
    pattern_ = std::move(pattern);
    changed();
}

std::string DateFormatter::dateFormat() const {
    if (pattern_) return *pattern_;
    std::string text;
    stylePattern(dateStyle_, timeStyle_, icu::Locale(locale_.identifier().c_str())).toUTF8String(text);
    return text;
}

TimeZone DateFormatter::zoneInUse() const {
    return timeZone_ ? *timeZone_ : TimeZone::current();
}

DateFormatter::Engine* DateFormatter::engine() const {
    if (!engine_) {
        engine_ = std::make_unique<Engine>();
        const icu::Locale locale(locale_.identifier().c_str());
        const icu::UnicodeString pattern = pattern_
                                               ? icu::UnicodeString::fromUTF8(detail::stringPiece(*pattern_))
                                               : stylePattern(dateStyle_, timeStyle_, locale);
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
        auto calendar = std::make_unique<icu::GregorianCalendar>(locale, status);
        if (U_FAILURE(status)) return engine_.get(); // an invalid pattern: no formatter
        calendar->setFirstDayOfWeek(UCalendarDaysOfWeek(calendar_.firstWeekday()));
        calendar->setMinimalDaysInFirstWeek(std::uint8_t(calendar_.minimumDaysInFirstWeek()));
        format->adoptCalendar(calendar.release());
        format->setLenient(false);
        engine_->format = std::move(format);
    }
    if (engine_->format) {
        const TimeZone zone = zoneInUse();
        std::string identifier = zone.identifier();
        if (identifier != engine_->zone) {
            engine_->format->adoptTimeZone(icuZone(zone));
            engine_->zone = std::move(identifier);
        }
    }
    return engine_.get();
}

const detail::CompiledDatePattern* DateFormatter::compiled() const {
    if (!compiledChecked_) {
        compiledChecked_ = true;
        if (pattern_ && writesASCIIDigits(locale_)) {
            if (auto pattern = detail::CompiledDatePattern::compile(*pattern_))
                compiled_ = std::make_shared<const detail::CompiledDatePattern>(*std::move(pattern));
        }
    }
    return compiled_.get();
}

std::string DateFormatter::string(Date date) const {
    if (!std::isfinite(date.timeIntervalSinceReferenceDate())) return {};
    if (const auto* pattern = compiled()) {
        const TimeZone zone = zoneInUse();
        const int offset = zone.secondsFromGMT(date);
        if (zone.isFixedOffset() && offset % 60 == 0) {
            if (auto text = pattern->format(date, offset)) return *std::move(text);
        }
    }
    return stringWithICU(date);
}

std::optional<Date> DateFormatter::date(std::string_view text) const {
    if (!isValidUTF8(text)) return std::nullopt;
    if (const auto* pattern = compiled()) {
        const TimeZone zone = zoneInUse();
        const int offset = zone.secondsFromGMT(Date());
        if (zone.isFixedOffset() && offset % 60 == 0) {
            const auto reading = pattern->parse(text, offset);
            if (reading.outcome == detail::CompiledDatePattern::Outcome::date) return reading.date;
            if (reading.outcome == detail::CompiledDatePattern::Outcome::noDate) return std::nullopt;
        }
    }
    return dateWithICU(text);
}

std::string DateFormatter::stringWithICU(Date date) const {
    const double udate = detail::udateFromDate(date);
    // Beyond ICU's calendar (some 5.8 million years) there is nothing to write.
    if (!std::isfinite(udate) || std::abs(udate) > 1.8e17) return {};
    const Engine* e = engine();
    if (!e->format) return {};
    icu::UnicodeString text;
    e->format->format(udate, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::optional<Date> DateFormatter::dateWithICU(std::string_view text) const {
    if (text.size() > std::size_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    const Engine* e = engine();
    if (!e->format) return std::nullopt;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(detail::stringPiece(text));
    icu::ParsePosition position(0);
    const UDate udate = e->format->parse(unicode, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != unicode.length()) return std::nullopt;
    return detail::dateFromUDate(udate);
}

namespace detail {

std::string stringThroughICU(const DateFormatter& formatter, Date date) {
    return formatter.stringWithICU(date);
}

std::optional<Date> dateThroughICU(const DateFormatter& formatter, std::string_view text) {
    return formatter.dateWithICU(text);
}

} // namespace detail

} // namespace foundation
