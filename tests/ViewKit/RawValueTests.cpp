#include "ViewKit/RawValues.h"
#include "ViewKit/StoreURL.h"
#include "ViewKit/UserDefaultsCodable.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

using ViewKit::StorageValue;

namespace {

struct Place {
    std::string name;
    double latitude = 0;
    bool operator==(const Place&) const = default;
    auto operator<=>(const Place&) const = default;
};

void to_json(nlohmann::json& json, const Place& place) {
    json = {{"name", place.name}, {"latitude", place.latitude}};
}

void from_json(const nlohmann::json& json, Place& place) {
    place.name = foundation::decodeJSONField<std::string>(json, "name");
    place.latitude = foundation::decodeJSONField<double>(json, "latitude");
}

} // namespace

TEST(RawValueTest, ValuesArraysAndMapsAsJSONText) {
    EXPECT_EQ(StorageValue(5).rawValue(), "5");
    EXPECT_EQ(StorageValue(std::string("a")).rawValue(), "\"a\"");
    EXPECT_EQ(foundation::rawValue(StorageValue(Place{"Oslo", 59.9})), R"({"latitude":59.9,"name":"Oslo"})");
    EXPECT_EQ(StorageValue<std::string>::fromRawValue("5"), std::nullopt);
    EXPECT_EQ(StorageValue<int>::fromRawValue("5"), StorageValue(5));
    EXPECT_EQ(StorageValue<int>::fromRawValue("5\xff"), std::nullopt);
    EXPECT_EQ(foundation::RawRepresentation<StorageValue<Place>>::fromRawValue(
                  R"({"name":"Rome","latitude":41.9})"),
              StorageValue(Place{"Rome", 41.9}));

    EXPECT_EQ(ViewKit::rawValue(std::vector<int>{}), "[]");
    EXPECT_EQ(ViewKit::rawValue(std::vector<int>{1, 2}), "[1,2]");
    EXPECT_EQ(ViewKit::arrayFromRawValue<int>("[1,2]"), (std::vector<int>{1, 2}));
    EXPECT_EQ(ViewKit::arrayFromRawValue<int>(""), std::nullopt);
    EXPECT_EQ(ViewKit::arrayFromRawValue<int>("[1,\"2\"]"), std::nullopt);
    EXPECT_EQ(ViewKit::arrayFromRawValue<int>(std::string_view("[1]\0", 4)), std::nullopt);

    EXPECT_EQ(ViewKit::rawValue(std::map<std::string, int>{}), "{}");
    const std::map<std::string, int> named = {{"b", 2}, {"a", 1}};
    const std::map<int, std::string> numbered = {{2, "two"}, {10, "ten"}};
    const std::map<Place, int> placed = {{Place{"Oslo", 59.9}, 1}};
    EXPECT_EQ(ViewKit::rawValue(named), R"({"a":1,"b":2})");
    EXPECT_EQ(ViewKit::rawValue(numbered), R"({"10":"ten","2":"two"})");
    EXPECT_EQ(ViewKit::rawValue(placed), R"([{"latitude":59.9,"name":"Oslo"},1])");
    EXPECT_EQ((ViewKit::dictionaryFromRawValue<std::string, int>(ViewKit::rawValue(named))), named);
    EXPECT_EQ((ViewKit::dictionaryFromRawValue<int, std::string>(ViewKit::rawValue(numbered))), numbered);
    EXPECT_EQ((ViewKit::dictionaryFromRawValue<Place, int>(ViewKit::rawValue(placed))), placed);
    EXPECT_EQ((ViewKit::dictionaryFromRawValue<int, int>("[1,2]")), std::nullopt);
}

TEST(RawValueTest, ValuesJSONCannotHoldFallBack) {
    const double nan = std::nan("");
    EXPECT_EQ(StorageValue(nan).rawValue(), "");
    EXPECT_EQ(StorageValue(std::string("\xff")).rawValue(), "");
    EXPECT_EQ(ViewKit::rawValue(std::vector<double>{1, nan}), "");
    EXPECT_EQ(ViewKit::arrayFromRawValue<double>(ViewKit::rawValue(std::vector<double>{nan})), std::nullopt);
    const std::map<std::string, double> broken = {{"x", nan}};
    EXPECT_EQ(ViewKit::rawValue(broken), "{}");
    EXPECT_EQ((ViewKit::dictionaryFromRawValue<std::string, double>(ViewKit::rawValue(broken))),
              (std::map<std::string, double>{}));
}

TEST(RawValueTest, CodableValuesInASuiteKeepWhatAFailedWriteWouldLose) {
    testing_support::TemporaryFolder folder;
    testing_support::ScopedEnvironment config("XDG_CONFIG_HOME", folder.path().c_str());
    const auto defaults = foundation::UserDefaults::make("org.quoril.tests.ViewKit");
    ASSERT_TRUE(defaults);

    EXPECT_TRUE(ViewKit::setCodable(*defaults, Place{"Oslo", 59.9}, "place"));
    EXPECT_EQ(ViewKit::codable<Place>(*defaults, "place"), (Place{"Oslo", 59.9}));
    EXPECT_TRUE(defaults->objectForKey("place").data()); // stored as JSON data
    EXPECT_EQ(ViewKit::codable<int>(*defaults, "place"), std::nullopt);
    EXPECT_EQ(ViewKit::codable<Place>(*defaults, "nothing"), std::nullopt);

    // A NaN has no JSON form: the write fails, and the place stored before is still there.
    EXPECT_FALSE(ViewKit::setCodable(*defaults, Place{"Nowhere", std::nan("")}, "place"));
    EXPECT_EQ(ViewKit::codable<Place>(*defaults, "place"), (Place{"Oslo", 59.9}));
    EXPECT_FALSE(ViewKit::setCodable(*defaults, std::string("\xff"), "place"));
    EXPECT_EQ(ViewKit::codable<Place>(*defaults, "place"), (Place{"Oslo", 59.9}));

    defaults->setObject(foundation::PropertyList("{\"name\":\"Oslo\",\"latitude\":1}"), "text");
    EXPECT_EQ(ViewKit::codable<Place>(*defaults, "text"), std::nullopt); // text is not data
}

TEST(RawValueTest, StorePagesAppendTheNumberInDecimal) {
    EXPECT_EQ(ViewKit::storeUrl(1234)->absoluteString(), std::string(ViewKit::appStorePagePrefix) + "1234");
    EXPECT_EQ(ViewKit::storeUrl(-5)->absoluteString(), std::string(ViewKit::appStorePagePrefix) + "-5");
    EXPECT_TRUE(ViewKit::appStorePagePrefix.starts_with("https://"));
}
