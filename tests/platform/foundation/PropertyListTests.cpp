#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include "SuiteFixture.h"

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

TEST(PropertyListSerializationTest, EveryKindRoundTripsInBothFormats) {
    const PropertyList value = PropertyList(testing_support::everyKind());
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
    // The last microsecond of the range rounds up to a second the file cannot hold.
    const double last = std::nextafter(2147483648.0, 0.0);
    const auto late = PropertyListSerialization::data(Date(last), PropertyListFormat::binary);
    EXPECT_NEAR(PropertyListSerialization::propertyList(late).date()->timeIntervalSinceReferenceDate(), last,
                1e-6);
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

    auto bytes = PropertyListSerialization::data(PropertyList(testing_support::everyKind()), PropertyListFormat::binary);
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(PropertyListSerialization::propertyList(bytes), PropertyListError);
}

TEST(PropertyListSerializationTest, DeepNestingIsRefused) {
    PropertyList value = 1;
    for (int i = 0; i < PropertyListSerialization::maximumDepth + 2; ++i) value = PropertyList::Array{value};
    EXPECT_THROW(PropertyListSerialization::data(value, PropertyListFormat::binary), PropertyListError);
}

namespace {

// A binary file by hand: objects, then a one-byte offset table, then the trailer.
std::vector<std::uint8_t> binaryFile(std::vector<std::vector<std::uint8_t>> objects, std::uint8_t top = 0) {
    std::vector<std::uint8_t> bytes = {'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint8_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(std::uint8_t(bytes.size()));
        bytes.insert(bytes.end(), object.begin(), object.end());
    }
    const auto table = std::uint8_t(bytes.size());
    bytes.insert(bytes.end(), offsets.begin(), offsets.end());
    const std::vector<std::uint8_t> trailer = {0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, std::uint8_t(objects.size()),
                                               0, 0, 0, 0, 0, 0, 0, top, 0, 0, 0, 0, 0, 0, 0, table};
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

} // namespace

TEST(PropertyListSerializationTest, DamagedBinaryStructuresAreErrors) {
    // A well-formed one first, so the helper is known to be right.
    const auto good = binaryFile({{0xA2, 1, 2}, {0x10, 7}, {0x53, 'a', 'b', 'c'}});
    EXPECT_EQ(PropertyListSerialization::propertyList(good), (PropertyList::Array{7, "abc"}));

    const auto bad = [](const std::vector<std::uint8_t>& bytes) {
        EXPECT_THROW(PropertyListSerialization::propertyList(bytes), PropertyListError);
    };
    bad(binaryFile({{0xA1, 0}}));                            // an array that holds itself
    bad(binaryFile({{0xA1, 5}}));                            // a reference past the last object
    bad(binaryFile({{0xD1, 1, 1}, {0x10, 1}}));              // a dictionary key that is a number
    bad(binaryFile({{0x5F, 0x10, 200, 'a'}}));               // a text longer than the file
    bad(binaryFile({{0x00}}));                               // null
    bad(binaryFile({{0x80, 1}}));                            // an object reference
    bad(binaryFile({{0x61, 0xD8, 0x00}}));                   // half a surrogate pair
    bad(binaryFile({{0x10, 1}}, 3));                         // a top object past the end

    // Each array holds the next one twice: tiny on disk, 2^40 objects when expanded.
    std::vector<std::vector<std::uint8_t>> doubling;
    for (std::uint8_t i = 0; i < 40; ++i) doubling.push_back({0xA2, std::uint8_t(i + 1), std::uint8_t(i + 1)});
    doubling.push_back({0x10, 1});
    bad(binaryFile(doubling));
}

TEST(PropertyListSerializationTest, ReadsUtf16TextAndLongIntegers) {
    const auto bytes = binaryFile({{0xA3, 1, 2, 3},
                                   {0x63, 0x00, 0xE9, 0xD8, 0x3D, 0xDE, 0x00},                // "é😀"
                                   {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE},  // -2
                                   {0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}});
    const PropertyList value = PropertyListSerialization::propertyList(bytes);
    ASSERT_TRUE(value.array());
    EXPECT_EQ(*(*value.array())[0].string(), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ((*value.array())[1].number<int>(), -2);
    EXPECT_EQ((*value.array())[2].number<std::uint64_t>(), std::numeric_limits<std::uint64_t>::max());
}

TEST(PropertyListSerializationTest, TextMustBeUtf8WithoutNul) {
    EXPECT_TRUE(PropertyListSerialization::problemWriting(std::string("\xE8jaVu")));
    EXPECT_TRUE(PropertyListSerialization::problemWriting(PropertyList::Dictionary{{"\xFF", 1}}));
    EXPECT_FALSE(PropertyListSerialization::problemWriting(std::string("D\xC3\xA9jaVu")));
    // One-byte texts in a binary file are ASCII; a NUL in a UTF-16 text is damage too.
    EXPECT_THROW(PropertyListSerialization::propertyList(binaryFile({{0x52, 0xE8, 'a'}})), PropertyListError);
    EXPECT_THROW(PropertyListSerialization::propertyList(binaryFile({{0x61, 0x00, 0x00}})), PropertyListError);
}

namespace {

PropertyList fromXML(std::string_view body) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<!DOCTYPE plist SYSTEM \"plist.dtd\">\n<plist version=\"1.0\">" +
                             std::string(body) + "</plist>\n";
    return PropertyListSerialization::propertyList(std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace

TEST(PropertyListSerializationTest, XMLIntegersAndDatesReadExactly) {
    const PropertyList largest = fromXML("<integer>18446744073709551615</integer>");
    EXPECT_EQ(largest.kind(), Kind::unsignedInteger);
    EXPECT_EQ(largest.number<std::uint64_t>(), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(fromXML("<integer>9223372036854775808</integer>").number<std::uint64_t>(), std::uint64_t(1)
                                                                                             << 63);
    EXPECT_EQ(fromXML("<integer> 9223372036854775807 </integer>").kind(), Kind::integer);
    EXPECT_EQ(fromXML("<integer>-9223372036854775808</integer>").number<std::int64_t>(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(fromXML("<integer>18446744073709551616</integer>"), PropertyListError);
    EXPECT_THROW(fromXML("<integer>-9223372036854775809</integer>"), PropertyListError);

    // Dates outside the range libplist writes still read as themselves.
    EXPECT_EQ(fromXML("<date>1900-01-01T00:00:00Z</date>").date(), Date(-3187296000.0));
    EXPECT_EQ(fromXML("<date>2100-01-01T00:00:00Z</date>").date(), Date(3124137600.0));
    EXPECT_EQ(fromXML("<date>2000-02-29T23:59:59.5Z</date>").date(), Date(-26438400.5));

    EXPECT_TRUE(std::signbit(*fromXML("<real>-0.0</real>").number<double>()));
    EXPECT_EQ(fromXML("<real>4.9406564584124654e-324</real>").number<double>(),
              std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(fromXML("<real>+infinity</real>").number<double>(), INFINITY);
    EXPECT_EQ(fromXML("<real>-inf</real>").number<double>(), -INFINITY);
    EXPECT_TRUE(std::isnan(*fromXML("<real>nan</real>").number<double>()));
}

TEST(PropertyListSerializationTest, XMLFromOtherWritersReads) {
    const std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a <dict> in a comment -->\n"
                             "<!DOCTYPE plist [ <!ENTITY x \"y\"> ]>\n"
                             "<plist version=\"1.0\" note='a > b'><dict>\n"
                             "  <key>text</key><string>a &lt;&amp;&gt; &#233;&#x1F600;<![CDATA[<raw>]]>"
                             "<!-- gone --></string>\n"
                             "  <key/><string/>\n"
                             "  <key>data</key><data>\n\tAAEC\n\t/w==\n</data>\n"
                             "  <key>lines</key><string>a\r\nb\x01</string>\n"
                             "  <key>empty</key><array/>\n"
                             "</dict ></plist>\n<!-- trailing -->\n";
    const PropertyList value =
        PropertyListSerialization::propertyList(std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(value["text"], PropertyList("a <&> \xC3\xA9\xF0\x9F\x98\x80<raw>"));
    EXPECT_EQ(value[""], PropertyList(""));
    EXPECT_EQ(value["data"], PropertyList(Data{0, 1, 2, 255}));
    EXPECT_EQ(value["lines"], PropertyList("a\r\nb\x01"));
    EXPECT_EQ(value["empty"], PropertyList(PropertyList::Array{}));

    // What libplist writes reads back, carriage returns and control characters included.
    const PropertyList written =
        PropertyList::Dictionary{{"a<&>\"'", PropertyList::Array{"x]]>\t\r\n\x02", -5}}};
    EXPECT_EQ(PropertyListSerialization::propertyList(
                  PropertyListSerialization::data(written, PropertyListFormat::xml)),
              written);
}

TEST(PropertyListSerializationTest, DamagedXMLIsAnError) {
    for (std::string_view body : {"",
                                  "<integer>1.5</integer>",
                                  "<integer></integer>",
                                  "<integer>--1</integer>",
                                  "<integer>0x10</integer>",
                                  "<real>1e400</real>",
                                  "<real>one</real>",
                                  "<real>--1</real>",
                                  "<date>2001-02-29T00:00:00Z</date>",
                                  "<date>2001-01-01T24:00:00Z</date>",
                                  "<date>2001-01-01</date>",
                                  "<data>!!!!</data>",
                                  "<data>AAE</data>",
                                  "<string>a<b/></string>",
                                  "<string>&bogus;</string>",
                                  "<string>&#0;</string>",
                                  "<string>&#xD800;</string>",
                                  "<string>&#65</string>",
                                  "<string>\xFF</string>",
                                  "<dict><key>a</key></dict>",
                                  "<dict><string>a</string></dict>",
                                  "<array><true/>",
                                  "<unknown/>",
                                  "<true>x</true>",
                                  "<true/><true/>",
                                  "<string>open",
                                  "<array></dict>",
                                  "text"}) {
        EXPECT_THROW(fromXML(body), PropertyListError) << body;
    }
    EXPECT_THROW(fromXML(std::string_view("<string>a\0b</string>", 20)), PropertyListError);
    const std::string trailing = "<plist><true/></plist>junk";
    EXPECT_THROW(
        PropertyListSerialization::propertyList(std::vector<std::uint8_t>(trailing.begin(), trailing.end())),
        PropertyListError);

    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    EXPECT_THROW(fromXML(deep), PropertyListError);
}
