#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>

using namespace foundation;
using Kind = DecodingError::Kind;

namespace {

struct Point {
    int x = 0;
    int y = 0;
    auto operator<=>(const Point&) const = default;
};

void to_json(nlohmann::json& json, const Point& point) {
    json = {{"x", point.x}, {"y", point.y}};
}

void from_json(const nlohmann::json& json, Point& point) {
    point.x = decodeJSONField<int>(json, "x");
    point.y = decodeJSONField<int>(json, "y");
}

std::string encoded(const auto& value) {
    const Data data = JSONEncoder().encode(value);
    return std::string(data.begin(), data.end());
}

template <class T> Kind decodingErrorKind(std::string_view json) {
    try {
        JSONDecoder().decode<T>(json);
    } catch (const DecodingError& error) {
        return error.kind();
    }
    ADD_FAILURE() << json << " decoded";
    return Kind::typeMismatch;
}

} // namespace

TEST(JSONMapKeyTest, IntegerKeysAreDecimalTextAndOtherKeysAlternate) {
    const std::map<int, std::string> numbered = {{-3, "minus"}, {2, "two"}, {10, "ten"}};
    EXPECT_EQ(encoded(numbered), R"({"-3":"minus","10":"ten","2":"two"})");
    EXPECT_EQ((JSONDecoder().decode<std::map<int, std::string>>(encoded(numbered))), numbered);

    const std::map<std::uint64_t, bool> wide = {{std::numeric_limits<std::uint64_t>::max(), true}};
    EXPECT_EQ((JSONDecoder().decode<std::map<std::uint64_t, bool>>(encoded(wide))), wide);

    const std::map<Point, int> points = {{{1, 2}, 3}, {{4, 5}, 6}};
    EXPECT_EQ(encoded(points), R"([{"x":1,"y":2},3,{"x":4,"y":5},6])");
    EXPECT_EQ((JSONDecoder().decode<std::map<Point, int>>(encoded(points))), points);

    const std::map<double, int> reals = {{0.5, 1}};
    EXPECT_EQ(encoded(reals), "[0.5,1]");
    EXPECT_EQ(encoded(std::map<Point, int>{}), "[]");
    EXPECT_EQ(encoded(std::map<int, int>{}), "{}");
    // Text keys stay an object as before.
    EXPECT_EQ(encoded(std::map<std::string, int>{{"a", 1}}), R"({"a":1})");
}

TEST(JSONMapKeyTest, MalformedStoredFormsAreRefused) {
    using Numbered = std::map<std::int8_t, int>;
    EXPECT_EQ(decodingErrorKind<Numbered>(R"({"x":1})"), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<Numbered>(R"({"300":1})"), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<Numbered>(R"({" 1":1})"), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<Numbered>(R"({"1":1,"01":2})"), Kind::dataCorrupted);
    EXPECT_EQ((decodingErrorKind<std::map<unsigned, int>>(R"({"-1":1})")), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<Numbered>("[1,2]"), Kind::typeMismatch);

    using ByPoint = std::map<Point, int>;
    EXPECT_EQ(decodingErrorKind<ByPoint>(R"([{"x":1,"y":2}])"), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<ByPoint>(R"([{"x":1,"y":2},1,{"x":1,"y":2},2])"), Kind::dataCorrupted);
    EXPECT_EQ(decodingErrorKind<ByPoint>(R"({"a":1})"), Kind::typeMismatch);
    // A bad value names where it sits.
    try {
        JSONDecoder().decode<ByPoint>(R"([{"x":1,"y":2},"three"])");
        ADD_FAILURE();
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.codingPath(), CodingPath{"[1]"});
    }
}
