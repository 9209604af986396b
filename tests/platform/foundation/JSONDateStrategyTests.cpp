#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace foundation;

namespace {

std::string text(const Data& data) {
    return std::string(data.begin(), data.end());
}

// Dates as whole days since the reference date, in text.
DateDecodingStrategy dayDecoding() {
    return DateDecodingStrategy::custom([](const nlohmann::json& json) {
        const auto days = decodeJSON<std::string>(json);
        if (days.empty() || days.find_first_not_of("0123456789") != std::string::npos)
            throw DecodingError(DecodingError::Kind::dataCorrupted, "Not a day: " + days);
        return Date(std::stod(days) * 86400);
    });
}

DateEncodingStrategy dayEncoding() {
    return DateEncodingStrategy::custom([](Date date) {
        return nlohmann::json(std::to_string(int(date.timeIntervalSinceReferenceDate() / 86400)));
    });
}

} // namespace

TEST(JSONDateStrategyTest, DeferredToDateIsSecondsSince2001) {
    EXPECT_EQ(text(JSONEncoder().encode(Date(86400.5))), "86400.5");
    EXPECT_EQ(JSONDecoder().decode<Date>("86400.5"), Date(86400.5));
    EXPECT_TRUE(JSONDecoder().dateDecodingStrategy().isDeferredToDate());
}

TEST(JSONDateStrategyTest, CustomStrategiesApplyToEveryDateOfTheirCoderOnly) {
    JSONEncoder encoder;
    encoder.setDateEncodingStrategy(dayEncoding());
    const std::map<std::string, std::vector<Date>> value{{"days", {Date(0), Date(2 * 86400)}}};
    EXPECT_EQ(text(encoder.encode(value)), R"({"days":["0","2"]})");
    // Another coder, and this thread after the call, keep the default.
    EXPECT_EQ(text(JSONEncoder().encode(Date(1))), "1.0");

    JSONDecoder decoder;
    decoder.setDateDecodingStrategy(dayDecoding());
    EXPECT_EQ((decoder.decode<std::map<std::string, std::vector<Date>>>(R"({"days":["0","2"]})")), value);
    EXPECT_EQ(JSONDecoder().decode<Date>("1"), Date(1));

    try {
        decoder.decode<std::map<std::string, std::vector<Date>>>(R"({"days":["0","x"]})");
        ADD_FAILURE() << "decoded a bad day";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::dataCorrupted);
        EXPECT_EQ(error.message(), "Not a day: x");
        EXPECT_EQ(error.codingPath(), (CodingPath{"days", "[1]"}));
    }
    try {
        decoder.decode<std::vector<Date>>("[null]");
        ADD_FAILURE() << "decoded null";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::valueNotFound);
    }
}
