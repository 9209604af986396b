#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using namespace foundation;
using Kind = PropertyList::Kind;

TEST(PropertyListTest, NumbersReadAsOtherTypesOnlyWhenExact) {
    const PropertyList three = 3;
    EXPECT_EQ(three.kind(), Kind::integer);
    EXPECT_EQ(three.number<std::int8_t>(), std::int8_t(3));
    EXPECT_EQ(three.number<double>(), 3.0);
    EXPECT_EQ(PropertyList(3.0).number<int>(), 3);
    EXPECT_FALSE(PropertyList(3.5).number<int>());
    EXPECT_FALSE(PropertyList(std::nan("")).number<long>());
    EXPECT_FALSE(PropertyList(INFINITY).number<long>());
    EXPECT_FALSE(PropertyList(300).number<std::int8_t>());
    EXPECT_FALSE(PropertyList(300).number<std::uint8_t>());
    EXPECT_FALSE(PropertyList(-1).number<unsigned>());
    EXPECT_FALSE(PropertyList(-1).number<std::uint64_t>());
    EXPECT_FALSE(PropertyList((std::int64_t(1) << 53) + 1).number<double>());
    EXPECT_EQ(PropertyList(std::int64_t(1) << 53).number<double>(), 9007199254740992.0);
    EXPECT_FALSE(PropertyList(0.1).number<float>());
    EXPECT_EQ(PropertyList(0.5).number<float>(), 0.5f);
    EXPECT_TRUE(std::isnan(*PropertyList(std::nan("")).number<float>()));
    EXPECT_EQ(PropertyList(std::numeric_limits<std::uint64_t>::max()).number<std::uint64_t>(),
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_FALSE(PropertyList(std::numeric_limits<std::uint64_t>::max()).number<std::int64_t>());
    EXPECT_FALSE(PropertyList(1.8446744073709552e19).number<std::uint64_t>()); // 2^64
    EXPECT_EQ(PropertyList(-9.223372036854775808e18).number<std::int64_t>(), std::numeric_limits<std::int64_t>::min());
}

TEST(PropertyListTest, BooleansAndZeroOrOneConvertBothWays) {
    EXPECT_EQ(PropertyList(true).number<int>(), 1);
    EXPECT_EQ(PropertyList(false).number<std::uint8_t>(), 0);
    EXPECT_EQ(PropertyList(true).number<double>(), 1.0);
    EXPECT_EQ(PropertyList(1).boolValue(), true);
    EXPECT_EQ(PropertyList(0u).boolValue(), false);
    EXPECT_EQ(PropertyList(1.0).boolValue(), true);
    EXPECT_FALSE(PropertyList(2).boolValue());
    EXPECT_FALSE(PropertyList(-1).boolValue());
    EXPECT_FALSE(PropertyList(0.5).boolValue());
}

TEST(PropertyListTest, TextNeverReadsAsANumber) {
    EXPECT_FALSE(PropertyList("1").number<int>());
    EXPECT_FALSE(PropertyList("1").boolValue());
    EXPECT_FALSE(PropertyList("true").boolValue());
    EXPECT_FALSE(PropertyList("3.5").number<double>());
    EXPECT_FALSE(PropertyList(Date(1)).number<double>());
}

TEST(PropertyListTest, EqualityIsDeepAndNumeric) {
    EXPECT_EQ(PropertyList(1), PropertyList(1u));
    EXPECT_EQ(PropertyList(1), PropertyList(1.0));
    EXPECT_NE(PropertyList(1), PropertyList(true));
    EXPECT_NE(PropertyList(1.5), PropertyList(1));
    EXPECT_NE(PropertyList(std::nan("")), PropertyList(std::nan("")));
    EXPECT_EQ(PropertyList(), PropertyList());
    EXPECT_NE(PropertyList(), PropertyList::null());
    EXPECT_NE(PropertyList("1"), PropertyList(1));

    const PropertyList a = PropertyList::Dictionary{{"x", PropertyList::Array{1, "two", Data{3}}}};
    const PropertyList b = PropertyList::Dictionary{{"x", PropertyList::Array{1.0, "two", Data{3}}}};
    const PropertyList c = PropertyList::Dictionary{{"x", PropertyList::Array{1, "two", Data{4}}}};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a["x"], b["x"]);
    EXPECT_TRUE(a["missing"].isAbsent());
    EXPECT_TRUE(PropertyList(5)["x"].isAbsent());
}

namespace {

PropertyList everyKind() {
    return PropertyList::Dictionary{
        {"bool", true},
        {"int", -42},
        {"big", std::numeric_limits<std::int64_t>::max()},
        {"unsigned", 7u},
        {"real", 2.25},
        {"text", "héllo \"world\""},
        {"empty text", ""},
        {"data", Data{0, 1, 2, 255}},
        {"date", Date(123456.789012)},
        {"old date", Date(-86400.25)},
        {"array", PropertyList::Array{1, "x", PropertyList::Array{}, PropertyList::Dictionary{}}},
        {"nested", PropertyList::Dictionary{{"inner", PropertyList::Dictionary{{"k", false}}}}},
    };
}

} // namespace

TEST(PropertyListSerializationTest, EveryKindRoundTripsInBothFormats) {
    const PropertyList value = everyKind();
    for (auto format : {PropertyListFormat::binary, PropertyListFormat::xml}) {
        const auto bytes = PropertyListSerialization::data(value, format);
        const PropertyList back = PropertyListSerialization::propertyList(bytes);
        if (format == PropertyListFormat::binary) {
            auto withoutDates = [](PropertyList v) {
                auto d = *v.dictionary();
                d.erase("date");
                d.erase("old date");
                return PropertyList(d);
            };
            EXPECT_EQ(withoutDates(back), withoutDates(value)) << back.description();
            // Sub-second dates survive only in the binary format.
            EXPECT_NEAR(back["date"].date()->timeIntervalSinceReferenceDate(), 123456.789012, 1e-6);
            EXPECT_NEAR(back["old date"].date()->timeIntervalSinceReferenceDate(), -86400.25, 1e-6);
        } else {
            EXPECT_EQ(back["text"], value["text"]);
            EXPECT_EQ(back["array"], value["array"]);
        }
        EXPECT_EQ(back["bool"].kind(), Kind::boolean);
        EXPECT_EQ(back["unsigned"].kind(), Kind::integer);
    }
    // Top-level fragments are files too.
    EXPECT_EQ(PropertyListSerialization::propertyList(PropertyListSerialization::data("red", PropertyListFormat::binary)),
              PropertyList("red"));
}

TEST(PropertyListSerializationTest, RefusesWhatAFileCannotHold) {
    const auto refused = [](const PropertyList& value) {
        EXPECT_TRUE(PropertyListSerialization::problemWriting(value)) << value.description();
        EXPECT_THROW(PropertyListSerialization::data(value, PropertyListFormat::binary), PropertyListError);
    };
    refused(PropertyList());
    refused(PropertyList::null());
    refused(PropertyList::Array{1, PropertyList::null()});
    refused(std::numeric_limits<std::uint64_t>::max());
    refused(Date(-2147483649.0)); // 1932
    refused(Date(2147483648.0));  // 2069
    refused(Date(std::nan("")));
    refused(PropertyList::Dictionary{{"deep", PropertyList::Dictionary{{"date", Date(4e9)}}}});
    refused(std::string("a\0b", 3));

    EXPECT_FALSE(PropertyListSerialization::problemWriting(Date(-2147483648.0)));
    EXPECT_FALSE(PropertyListSerialization::problemWriting(Date(2147483647.5)));
    const auto edge = PropertyListSerialization::data(Date(-2147483648.0), PropertyListFormat::binary);
    EXPECT_EQ(PropertyListSerialization::propertyList(edge).date(), Date(-2147483648.0));
}

TEST(PropertyListSerializationTest, GarbageIsAnErrorNotACrash) {
    const auto bad = [](std::string text) {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        EXPECT_THROW(PropertyListSerialization::propertyList(bytes), PropertyListError) << text;
    };
    bad("");
    bad("not a plist");
    bad("bplist00");
    bad("bplist00\xff\xff\xff\xff\xff\xff\xff\xff");
    bad("<?xml version=\"1.0\"?><plist><dict><key>a</key>");

    auto bytes = PropertyListSerialization::data(everyKind(), PropertyListFormat::binary);
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(PropertyListSerialization::propertyList(bytes), PropertyListError);
}

TEST(PropertyListSerializationTest, DeepNestingIsRefused) {
    PropertyList value = 1;
    for (int i = 0; i < PropertyListSerialization::maximumDepth + 2; ++i) value = PropertyList::Array{value};
    EXPECT_THROW(PropertyListSerialization::data(value, PropertyListFormat::binary), PropertyListError);
}
