#include "ViewKit/CalendarExtensions.h"
#include "ViewKit/DateExtensions.h"
#include "ViewKit/DateFormatterExtensions.h"
#include "ViewKit/ISO8601DateCoding.h"

#include "foundation/Clock.h"

#include "ScopedEnvironment.h"
#include "TestDates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using foundation::Calendar;
using foundation::Date;
using foundation::DecodingError;
using testing_support::ScopedEnvironment;
using testing_support::utc;

namespace {

struct Meeting {
    Date start;
    Date end;
};

void to_json(nlohmann::json& json, const Meeting& meeting) {
    json = {{"start", meeting.start}, {"end", meeting.end}};
}

void from_json(const nlohmann::json& json, Meeting& meeting) {
    meeting.start = foundation::decodeJSONField<Date>(json, "start");
    meeting.end = foundation::decodeJSONField<Date>(json, "end");
}

std::string text(const foundation::Data& data) {
    return std::string(data.begin(), data.end());
}

DecodingError decodingError(std::string_view json) {
    try {
        ViewKit::iso8601DateDecoder().decode<Meeting>(json);
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "decoded " << json;
    return DecodingError(DecodingError::Kind::valueNotFound, "");
}

// Berlin, gregorian, weeks from Sunday; TZ set to another zone, so nothing follows the machine.
class BerlinCalendarTest : public ::testing::Test {
protected:
    ScopedEnvironment tz{"TZ", "America/New_York"};
    Calendar calendar = [] {
        Calendar c(Calendar::Identifier::gregorian);
        c.setTimeZone(*foundation::TimeZone::named("Europe/Berlin"));
        c.setFirstWeekday(1);
        return c;
    }();
};

} // namespace

TEST(ISO8601DateCodingTest, WritesMillisecondsInGMTAndReadsBothForms) {
    EXPECT_EQ(text(ViewKit::iso8601DateEncoder().encode(Date(0))), "\"2001-01-01T00:00:00.000+0000\"");
    const auto decoder = ViewKit::iso8601DateDecoder();
    const Date withMilliseconds = decoder.decode<Date>(R"("2024-03-05T14:07:09.123+0000")");
    const Date whole = decoder.decode<Date>(R"("2024-03-05T14:07:09+0000")");
    EXPECT_EQ(whole, utc(2024, 3, 5, 14, 7) + 9);
    EXPECT_NEAR(withMilliseconds - whole, 0.123, 1e-6);
    EXPECT_EQ(decoder.decode<Date>(R"("2024-03-05T15:07:09+0100")"), whole);

    const Meeting meeting{withMilliseconds, Date(12345.6789)};
    const std::string json = text(ViewKit::iso8601DateEncoder().encode(meeting));
    EXPECT_EQ(json, R"({"end":"2001-01-01T03:25:45.678+0000","start":"2024-03-05T14:07:09.123+0000"})");
    const auto back = decoder.decode<Meeting>(json);
    EXPECT_EQ(back.start, meeting.start);
    EXPECT_NEAR(back.end - meeting.end, -0.0009, 1e-6); // cut to the millisecond

    // The distant past is the first day of year 1; before it the text would lose its era.
    EXPECT_EQ(decoder.decode<Date>(text(ViewKit::iso8601DateEncoder().encode(Date::distantPast()))),
              Date::distantPast());
    EXPECT_THROW(ViewKit::iso8601DateEncoder().encode(Date::distantPast() - 1), foundation::EncodingError);
    EXPECT_THROW(ViewKit::iso8601DateEncoder().encode(Date(NAN)), foundation::EncodingError);
}

TEST(ISO8601DateCodingTest, FailuresSayWhatWasRead) {
    const auto invalid = decodingError(R"({"start":"yesterday","end":"2024-03-05T14:07:09+0000"})");
    EXPECT_EQ(invalid.kind(), DecodingError::Kind::dataCorrupted);
    EXPECT_EQ(invalid.message(), "Invalid date: yesterday");
    EXPECT_EQ(invalid.codingPath(), foundation::CodingPath{"start"});

    const auto number = decodingError(R"({"start":"2024-03-05T14:07:09+0000","end":42})");
    EXPECT_EQ(number.kind(), DecodingError::Kind::typeMismatch);
    EXPECT_EQ(number.codingPath(), foundation::CodingPath{"end"});

    // Strict: no out-of-range fields, no text around the date.
    for (const char* bad : {R"("2024-02-30T14:07:09+0000")", R"("2024-03-05T14:07:09.123+0000 ")",
                            R"("2024-03-05 14:07:09+0000")", R"("")"})
        EXPECT_THROW(ViewKit::iso8601DateDecoder().decode<Date>(bad), DecodingError) << bad;
}

TEST_F(BerlinCalendarTest, DifferencesCountWholeUnitsInWallClockTime) {
    // Across the spring clock change: one calendar day, 23 hours.
    const Date saturdayNoon = utc(2024, 3, 30, 11);
    const Date sundayNoon = utc(2024, 3, 31, 10);
    EXPECT_EQ(ViewKit::days(calendar, saturdayNoon, sundayNoon), 1);
    EXPECT_EQ(ViewKit::hours(calendar, saturdayNoon, sundayNoon), 23);
    EXPECT_EQ(ViewKit::minutes(calendar, saturdayNoon, sundayNoon), 23 * 60);
    EXPECT_EQ(ViewKit::days(calendar, sundayNoon, saturdayNoon), -1);

    const Date january31 = utc(2024, 1, 30, 23);
    EXPECT_EQ(ViewKit::months(calendar, january31, utc(2024, 2, 28, 23)), 1); // 29 February
    EXPECT_EQ(ViewKit::months(calendar, january31, utc(2024, 2, 27, 23)), 0);
    EXPECT_EQ(ViewKit::months(calendar, utc(2024, 3, 14, 23), utc(2024, 1, 14, 23)), -2);
    EXPECT_EQ(ViewKit::years(calendar, utc(2020, 2, 28, 23), utc(2024, 2, 27, 23)), 3);
    EXPECT_EQ(ViewKit::weeks(calendar, utc(2024, 12, 29), utc(2025, 1, 12)), 2);
    EXPECT_EQ(ViewKit::seconds(calendar, Date(0), Date(-1.5)), -1);
    EXPECT_EQ(ViewKit::years(calendar, Date(NAN), Date(0)), 0);
}

TEST_F(BerlinCalendarTest, SameDayWeekMonthAndYear) {
    EXPECT_TRUE(ViewKit::isDateSameWeekAs(calendar, utc(2024, 12, 31, 12), utc(2025, 1, 2, 12)));
    EXPECT_FALSE(ViewKit::isDateSameYearAs(calendar, utc(2024, 12, 31, 12), utc(2025, 1, 2, 12)));
    const Date sunday = utc(2024, 12, 29, 12);
    const Date monday = utc(2024, 12, 30, 12);
    EXPECT_TRUE(ViewKit::isDateSameWeekAs(calendar, sunday, monday));
    Calendar iso(Calendar::Identifier::iso8601);
    iso.setTimeZone(calendar.timeZone());
    EXPECT_FALSE(ViewKit::isDateSameWeekAs(iso, sunday, monday));
    // 23:30 UTC on the 31st is already 1 January in Berlin.
    EXPECT_FALSE(ViewKit::isDateSameDayAs(calendar, utc(2024, 12, 31, 12), utc(2024, 12, 31, 23, 30)));
    EXPECT_FALSE(ViewKit::isDateSameMonthAs(calendar, utc(2024, 12, 31, 12), utc(2024, 12, 31, 23, 30)));
    EXPECT_TRUE(ViewKit::isDateSameMonthAs(calendar, utc(2024, 12, 1, 12), utc(2024, 12, 31, 12)));
}

TEST_F(BerlinCalendarTest, TodayIsReadAtEachCall) {
    const Date tenInTheMorning = utc(2024, 6, 10, 8);                   // 10:00 in Berlin
    foundation::ScopedManualClock clock(utc(2024, 6, 10, 21, 59) + 59); // 23:59:59
    EXPECT_TRUE(ViewKit::isDateToday(calendar, tenInTheMorning));
    EXPECT_TRUE(ViewKit::isDateThisWeek(calendar, tenInTheMorning));
    clock->advance(2);
    EXPECT_FALSE(ViewKit::isDateToday(calendar, tenInTheMorning));
    EXPECT_TRUE(ViewKit::isDateThisMonth(calendar, tenInTheMorning));
    EXPECT_TRUE(ViewKit::isDateThisYear(calendar, tenInTheMorning));
}

TEST_F(BerlinCalendarTest, DatesFromFieldsRollOver) {
    EXPECT_EQ(ViewKit::dateFromComponents(calendar, 2024, 2, 30, 9, 0, 0), utc(2024, 3, 1, 8));
    EXPECT_EQ(ViewKit::dateFromComponents(calendar, 2024, 13, 1, 0, 0, 0), utc(2024, 12, 31, 23));
    EXPECT_EQ(ViewKit::dateFromComponents(calendar, 2024, 3, 31, 2, 30, 0),
              utc(2024, 3, 31, 1, 30)); // in the gap
    EXPECT_EQ(ViewKit::dateFromComponents(calendar, 2024, 1, 1, 24, 0, 61), utc(2024, 1, 1, 23) + 61);
    EXPECT_EQ(ViewKit::dateFromComponents(calendar, 2'000'000'000, 1, 1, 0, 0, 0), std::nullopt);

    EXPECT_EQ(ViewKit::hour(utc(2024, 6, 10, 8), calendar), 10);
    EXPECT_EQ(ViewKit::hour(utc(2024, 6, 10, 8)), 4); // the user's calendar: New York
    EXPECT_EQ(ViewKit::day(Date(NAN)), std::nullopt);
    EXPECT_EQ(ViewKit::removingDays(Date(0), 1), ViewKit::addingDays(Date(0), -1));
    EXPECT_EQ(ViewKit::removingSeconds(Date(5), 2.5), Date(2.5));
}

TEST(DateFormatterExtensionTest, AFormatterWithoutAZoneFollowsTZ) {
    ScopedEnvironment tz("TZ", "America/New_York");
    const auto formatter = ViewKit::makeDateFormatter(
        "yyyy-MM-dd HH:mm", Calendar(Calendar::Identifier::gregorian), foundation::Locale("en_US_POSIX"));
    EXPECT_EQ(formatter.string(utc(2024, 3, 5, 14)), "2024-03-05 09:00");
    tz.set("Asia/Tokyo");
    EXPECT_EQ(formatter.string(utc(2024, 3, 5, 14)), "2024-03-05 23:00");
    EXPECT_EQ(formatter.date("2024-03-05 23:00"), utc(2024, 3, 5, 14));

    const auto styled = ViewKit::makeDateFormatter(
        foundation::DateFormatter::Style::medium, foundation::DateFormatter::Style::none,
        foundation::Locale("de_DE"), Calendar(Calendar::Identifier::gregorian));
    EXPECT_EQ(styled.string(utc(2024, 3, 5, 14)), "05.03.2024");
    EXPECT_EQ(ViewKit::iso8601DateFormatter().string(utc(2024, 3, 5, 14)), "2024-03-05T14:00:00+0000");
}
