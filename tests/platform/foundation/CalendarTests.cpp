#include "foundation/Calendar.h"
#include "foundation/Clock.h"

#include "ScopedEnvironment.h"
#include "TestDates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace foundation;
using testing_support::ScopedEnvironment;
using testing_support::utc;

namespace {

constexpr double hour = 3600;

struct DayCase {
    const char* zone;
    Date during;   // an instant within the day
    Date start;    // the day's first instant
    double length; // hours until the next day begins
};

} // namespace

TEST(CalendarTest, StartOfDayAcrossClockChanges) {
    const DayCase cases[] = {
        {"America/New_York", utc(2026, 3, 8, 15), utc(2026, 3, 8, 5), 23},
        {"America/New_York", utc(2026, 11, 1, 17), utc(2026, 11, 1, 4), 25},
        {"America/New_York", utc(2026, 11, 1, 6, 30), utc(2026, 11, 1, 4), 25}, // the second 1:30
        {"Europe/Berlin", utc(2026, 3, 29, 10), utc(2026, 3, 28, 23), 23},
        {"Europe/Berlin", utc(2026, 10, 25, 10), utc(2026, 10, 24, 22), 25},
        // Midnight skipped: the day begins at 01:00.
        {"America/Santiago", utc(2026, 9, 6, 12), utc(2026, 9, 6, 4), 23},
        {"America/Havana", utc(2026, 3, 8, 12), utc(2026, 3, 8, 5), 23},
        // The hour before midnight repeated, and midnight itself twice: the earlier one.
        {"America/Santiago", utc(2026, 4, 4, 12), utc(2026, 4, 4, 3), 25},
        {"America/Havana", utc(2026, 11, 1, 12), utc(2026, 11, 1, 4), 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + ::testing::PrintToString(c.during));
        const auto calendar = Calendar::withTimeZone(c.zone);
        ASSERT_TRUE(calendar);
        EXPECT_EQ(calendar->timeZone().identifier(), c.zone);
        EXPECT_EQ(calendar->startOfDay(c.during), c.start);
        EXPECT_EQ(calendar->startOfDay(c.start), c.start);
        EXPECT_LT(calendar->startOfDay(c.start - 1), c.start);
        const Date next = c.start + c.length * hour;
        EXPECT_EQ(calendar->startOfDay(next - 1), c.start);
        EXPECT_EQ(calendar->startOfDay(next), next);
    }
}

TEST(CalendarTest, AddingDaysKeepsTheWallClockTime) {
    const auto ny = *Calendar::withTimeZone("America/New_York");
    // Noon stays noon across the spring change, 23 hours later.
    EXPECT_EQ(ny.dateByAddingDays(1, utc(2026, 3, 7, 17)), utc(2026, 3, 8, 16));
    EXPECT_EQ(ny.dateByAddingDays(-1, utc(2026, 3, 8, 16)), utc(2026, 3, 7, 17));
    // 02:30 does not exist on the change day: it moves on by the hour skipped, to 03:30.
    EXPECT_EQ(ny.dateByAddingDays(1, utc(2026, 3, 7, 7, 30)), utc(2026, 3, 8, 7, 30));
    EXPECT_EQ(ny.dateByAddingDays(2, utc(2026, 3, 7, 17) + 0.25), utc(2026, 3, 9, 16) + 0.25);

    const auto santiago = *Calendar::withTimeZone("America/Santiago");
    EXPECT_EQ(santiago.startOfDay(santiago.dateByAddingDays(1, utc(2026, 9, 5, 4))), utc(2026, 9, 6, 4));
}

TEST(CalendarTest, ComponentsAreLocalAndOddDatesAreSafe) {
    const auto berlin = *Calendar::withTimeZone("Europe/Berlin");
    EXPECT_EQ(berlin.dateComponents(utc(2026, 3, 29, 1) + 1.5), (DateComponents{2026, 3, 29, 3, 0, 1.5}));
    EXPECT_EQ(berlin.dateComponents(utc(2026, 12, 31, 23, 30)), (DateComponents{2027, 1, 1, 0, 30, 0}));
    const auto utcCalendar = *Calendar::withTimeZone("UTC");
    // Proleptic Gregorian all the way back: the distant past is two days before year 1.
    EXPECT_EQ(utcCalendar.dateComponents(Date::distantPast()), (DateComponents{0, 12, 30, 0, 0, 0}));
    EXPECT_EQ(utcCalendar.dateComponents(Date::distantFuture()), (DateComponents{4001, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(Calendar::withTimeZone("Nowhere/Atlantis"));

    // Dates that are not finite come back unchanged.
    EXPECT_TRUE(std::isnan(berlin.startOfDay(Date(NAN)).timeIntervalSinceReferenceDate()));
    EXPECT_EQ(berlin.dateByAddingDays(1, Date(-INFINITY)), Date(-INFINITY));
    EXPECT_FALSE(berlin.isDateInSameDayAs(Date(NAN), Date(NAN)));
    EXPECT_EQ(berlin.dateComponents(Date(INFINITY)), DateComponents{});

    // Past the library's last year (32767) a date has no components rather than a wrapped year.
    EXPECT_GT(utcCalendar.dateComponents(Date(9.69e11)).year, 32000);
    for (const double s : {9.75e11, 9.9e11}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(berlin.dateComponents(Date(s)), DateComponents{});
        EXPECT_EQ(berlin.startOfDay(Date(s)), Date(s));
    }
}

TEST(CalendarTest, AutoupdatingFollowsTheTimeZoneVariable) {
    ScopedEnvironment tz("TZ", "Europe/Berlin");
    const auto autoupdating = Calendar::autoupdatingCurrent();
    const auto kept = Calendar::current();
    EXPECT_TRUE(autoupdating.isAutoupdating());
    EXPECT_FALSE(kept.isAutoupdating());
    EXPECT_EQ(autoupdating.timeZone().identifier(), "Europe/Berlin");
    EXPECT_EQ(autoupdating.startOfDay(utc(2026, 3, 10, 12)), utc(2026, 3, 9, 23));

    tz.set("Asia/Tokyo");
    EXPECT_EQ(autoupdating.timeZone().identifier(), "Asia/Tokyo");
    EXPECT_EQ(autoupdating.startOfDay(utc(2026, 3, 10, 12)), utc(2026, 3, 9, 15));
    EXPECT_EQ(kept.timeZone().identifier(), "Europe/Berlin");

    tz.set(":America/New_York");
    EXPECT_EQ(autoupdating.timeZone().identifier(), "America/New_York");
    tz.set("/usr/share/zoneinfo/Europe/Berlin");
    EXPECT_EQ(autoupdating.timeZone().identifier(), "Europe/Berlin");
    tz.set("");
    EXPECT_EQ(autoupdating.timeZone().identifier(), "UTC");

    tz.set(nullptr);
    const std::string system = autoupdating.timeZone().identifier();
    tz.set("Not/AZone");
    EXPECT_EQ(autoupdating.timeZone().identifier(), system);
}

TEST(CalendarTest, TodayIsTheLocalDayOfTheClock) {
    ScopedEnvironment tz("TZ", "Europe/Berlin");
    ScopedManualClock clock(utc(2026, 3, 10, 22, 30)); // 23:30 in Berlin
    const auto calendar = Calendar::autoupdatingCurrent();
    EXPECT_TRUE(calendar.isDateInToday(Date::now()));
    EXPECT_TRUE(calendar.isDateInToday(utc(2026, 3, 9, 23)));
    EXPECT_FALSE(calendar.isDateInToday(utc(2026, 3, 9, 22, 59)));
    EXPECT_FALSE(calendar.isDateInToday(Date::now() + 31 * 60));

    tz.set("Asia/Tokyo"); // already the 11th there
    EXPECT_TRUE(calendar.isDateInToday(Date::now() + 31 * 60));
    EXPECT_FALSE(calendar.isDateInToday(utc(2026, 3, 9, 23)));
}
