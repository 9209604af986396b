#include "foundation/DateFormat.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>

using foundation::DateStyle;
using foundation::TimeStyle;
using testing_support::ScopedEnvironment;

namespace {

// 2026-12-09 13:40 UTC.
const foundation::Date lateAfternoon = foundation::Date::fromTimeIntervalSince1970(1796823600);

class DateFormatTest : public testing::Test {
protected:
    ScopedEnvironment all{"LC_ALL", nullptr};
    ScopedEnvironment time{"LC_TIME", nullptr};
    ScopedEnvironment lang{"LANG", "en_US.UTF-8"};
    ScopedEnvironment zone{"TZ", "UTC"};
};

} // namespace

TEST_F(DateFormatTest, TheLocaleComesFromTheFirstSetVariableWithoutCodesetAndCMeansEnglish) {
    EXPECT_EQ(foundation::currentFormattingLocale(), "en_US");
    time.set("de_DE.UTF-8@euro");
    EXPECT_EQ(foundation::currentFormattingLocale(), "de_DE");
    all.set("fr_FR");
    EXPECT_EQ(foundation::currentFormattingLocale(), "fr_FR");
    all.set("C.UTF-8");
    EXPECT_EQ(foundation::currentFormattingLocale(), "en_US") << "C stops the search";
    all.set("");
    time.set(nullptr);
    lang.set(nullptr);
    EXPECT_EQ(foundation::currentFormattingLocale(), "en_US");
}

TEST_F(DateFormatTest, StylesFollowTheLocaleAndTheUsersZone) {
    // The locale data puts a narrow no-break space before the day period.
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::longForm, TimeStyle::shortened),
              "December 9, 2026 at 1:40\u202fPM");
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::numeric, TimeStyle::omitted), "12/9/26");
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::omitted, TimeStyle::standard), "1:40:00\u202fPM");
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::omitted, TimeStyle::omitted), "");

    zone.set("Europe/Berlin");
    lang.set("de_DE.UTF-8");
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::longForm, TimeStyle::shortened),
              "9. Dezember 2026 um 14:40");
    const auto tokyo = foundation::Calendar::withTimeZone("Asia/Tokyo");
    ASSERT_TRUE(tokyo);
    EXPECT_EQ(foundation::formatted(lateAfternoon, DateStyle::abbreviated, TimeStyle::shortened, *tokyo),
              "09.12.2026, 22:40");

    EXPECT_EQ(foundation::formatted(foundation::Date(NAN), DateStyle::longForm, TimeStyle::shortened), "");
}
