#include "foundation/Calendar.h"
#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

#include "ScopedEnvironment.h"
#include "TestDates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using foundation::Calendar;
using foundation::Date;
using foundation::DateFormatter;
using foundation::Locale;
using foundation::TimeZone;
using testing_support::ScopedEnvironment;
using testing_support::utc;

namespace {

DateFormatter formatter(std::string pattern, std::optional<TimeZone> zone = TimeZone::gmt(),
                        std::string locale = "en_US_POSIX") {
    DateFormatter f(Locale(std::move(locale)), Calendar(Calendar::Identifier::iso8601), zone);
    f.setDateFormat(std::move(pattern));
    return f;
}

} // namespace

TEST(TimeZoneTest, NamedFixedAndCurrentZones) {
    EXPECT_EQ(TimeZone::named("Europe/Berlin")->identifier(), "Europe/Berlin");
    EXPECT_EQ(TimeZone::named("Nowhere/Atlantis"), std::nullopt);
    EXPECT_EQ(TimeZone::named("Europe/Berlin")->secondsFromGMT(utc(2024, 7, 1)), 7200);
    EXPECT_EQ(TimeZone::named("Europe/Berlin")->secondsFromGMT(utc(2024, 1, 1)), 3600);
    EXPECT_EQ(TimeZone::withSecondsFromGMT(0)->identifier(), "GMT");
    EXPECT_EQ(TimeZone::withSecondsFromGMT(-19800)->identifier(), "GMT-0530");
    EXPECT_EQ(TimeZone::withSecondsFromGMT(3630)->identifier(), "GMT+010030");
    EXPECT_EQ(TimeZone::withSecondsFromGMT(19 * 3600), std::nullopt);

    ScopedEnvironment tz("TZ", "Asia/Tokyo");
    EXPECT_EQ(TimeZone::current().identifier(), "Asia/Tokyo");
    tz.set(":America/New_York");
    EXPECT_EQ(TimeZone::current().identifier(), "America/New_York");
}

TEST(LocaleTest, CurrentReadsTheVariablesInOrder) {
    ScopedEnvironment all("LC_ALL", nullptr);
    ScopedEnvironment time("LC_TIME", "de_DE.UTF-8@euro");
    ScopedEnvironment lang("LANG", "en_GB.UTF-8");
    EXPECT_EQ(Locale::current().identifier(), "de_DE");
    EXPECT_EQ(Locale::current().firstWeekday(), 2);
    EXPECT_EQ(Locale::current().minimumDaysInFirstWeek(), 4);
    all.set("C.UTF-8");
    EXPECT_EQ(Locale::current().identifier(), "en_US_POSIX");
    all.set("");
    time.set(nullptr);
    EXPECT_EQ(Locale::current().identifier(), "en_GB");
    lang.set("en_US.UTF-8");
    EXPECT_EQ(Locale::current().firstWeekday(), 1);
    EXPECT_EQ(Calendar::current().firstWeekday(), 1);
    lang.set(nullptr);
    EXPECT_EQ(Locale::current().identifier(), "en_US_POSIX");
}

TEST(DateFormatterTest, PatternsStylesAndZones) {
    const Date date = utc(2024, 3, 5, 14, 7) + 9.123;
    EXPECT_EQ(formatter("yyyy-MM-dd'T'HH:mm:ss.SSSZ").string(date), "2024-03-05T14:07:09.123+0000");
    EXPECT_EQ(formatter("yyyy-MM-dd HH:mm ZZZZZ", TimeZone::named("Europe/Berlin")).string(date),
              "2024-03-05 15:07 +01:00");
    EXPECT_EQ(formatter("EEEE d MMMM", TimeZone::gmt(), "de_DE").string(date), "Dienstag 5 März");
    EXPECT_EQ(formatter("'week' w", TimeZone::gmt()).string(utc(2024, 12, 30)), "week 1");

    DateFormatter styled(Locale("en_US"), Calendar(Calendar::Identifier::gregorian), TimeZone::gmt());
    styled.setDateStyle(DateFormatter::Style::short_);
    styled.setTimeStyle(DateFormatter::Style::short_);
    EXPECT_FALSE(styled.dateFormat().empty());
    EXPECT_EQ(styled.date(styled.string(utc(2024, 3, 5, 14, 7))), utc(2024, 3, 5, 14, 7));

    // Without a zone the formatter reads TZ at each use.
    ScopedEnvironment tz("TZ", "America/New_York");
    auto local = formatter("HH:mm", std::nullopt);
    EXPECT_EQ(local.string(utc(2024, 3, 5, 14)), "09:00");
    tz.set("Asia/Tokyo");
    EXPECT_EQ(local.string(utc(2024, 3, 5, 14)), "23:00");

    EXPECT_EQ(formatter("yyyy").string(Date(NAN)), "");
}

TEST(DateFormatterTest, ParsingIsStrictAndWhole) {
    const auto f = formatter("yyyy-MM-dd'T'HH:mm:ssZ");
    EXPECT_EQ(f.date("2024-03-05T14:07:09+0000"), utc(2024, 3, 5, 14, 7) + 9);
    EXPECT_EQ(f.date("2024-03-05T15:07:09+0100"), utc(2024, 3, 5, 14, 7) + 9);
    for (const char* bad : {"2024-02-30T14:07:09+0000", "2024-03-05T24:07:09+0000",
                            "2024-03-05T14:07:09+0000x", "2024-03-05", "", "2024-03-05T14:07:09", "\xFF"})
        EXPECT_EQ(f.date(bad), std::nullopt) << bad;
    EXPECT_EQ(formatter("yyyy-MM-dd'T'HH:mm:ss.SSSZ").date("2024-03-05T14:07:09+0000"), std::nullopt);
}

// The numeric patterns have a path of their own beside ICU; the two must agree on every text
// and date, including the ones the quick path hands on.
TEST(DateFormatterTest, QuickNumericPatternsAgreeWithICU) {
    const std::vector<std::string> patterns = {"yyyy-MM-dd'T'HH:mm:ss.SSSZ", "yyyy-MM-dd'T'HH:mm:ssZ",
                                               "dd.MM.yyyy HH:mm", "yyyyMMdd"};
    const std::vector<std::string> texts = {
        "2024-03-05T14:07:09.123+0000",
        "2024-03-05T14:07:09+0000",
        "2024-03-05T14:07:09.1+0000",
        "2024-03-05T14:07:09.1234+0000",
        "2024-03-05T14:07:09.123Z",
        "2024-03-05T14:07:09.123-0530",
        "2024-3-5T14:07:09.123+0000",
        "0999-03-05T14:07:09+0000",
        "1582-10-10T00:00:00+0000",
        "05.03.2024 14:07",
        "5.3.2024 14:07",
        "05.03.2024  14:07",
        "20240305",
        "2024030",
        "2024-03-05T14:07:60+0000",
        "2024-03-05T14:07:09 +0000",
        "2024-03-05T14:07:09+00:00",
        "2024-03-05T14:07:09.123+0000 ",
    };
    for (const auto& zone : {TimeZone::gmt(), *TimeZone::withSecondsFromGMT(3600)}) {
        for (const auto& pattern : patterns) {
            const auto f = formatter(pattern, zone);
            for (const auto& text : texts)
                EXPECT_EQ(f.date(text), foundation::detail::dateThroughICU(f, text))
                    << pattern << " / " << text;
            for (const Date date : {utc(2024, 3, 5, 14, 7) + 9.123, Date(0), Date(-1e-4), utc(1600, 1, 1),
                                    utc(9999, 12, 31, 23, 59) + 59.999, utc(1583, 1, 1) - 0.5})
                EXPECT_EQ(f.string(date), foundation::detail::stringThroughICU(f, date))
                    << pattern << " / " << date.timeIntervalSinceReferenceDate();
        }
    }
}
