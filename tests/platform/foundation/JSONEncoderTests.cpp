#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace foundation;

namespace {

// Fields declared out of key order, so sorted output is not an accident of declaration.
struct Sample {
    int zeta = 0;
    std::string alpha;
    std::optional<double> middle;
    Date when;
    bool operator==(const Sample&) const = default;
};

void to_json(nlohmann::json& json, const Sample& sample) {
    json = {{"zeta", sample.zeta}, {"alpha", sample.alpha}, {"middle", sample.middle}, {"when", sample.when}};
}

void from_json(const nlohmann::json& json, Sample& sample) {
    sample.zeta = decodeJSONField<int>(json, "zeta");
    sample.alpha = decodeJSONField<std::string>(json, "alpha");
    sample.middle = decodeJSONField<std::optional<double>>(json, "middle");
    sample.when = decodeJSONField<Date>(json, "when");
}

enum class Tint { red, blue };

std::string text(const Data& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

namespace foundation {
template <> struct RawRepresentation<Tint> {
    using RawValue = std::string;
    static std::string rawValue(Tint tint) { return tint == Tint::red ? "red" : "blue"; }
    static std::optional<Tint> fromRawValue(const std::string& raw) {
        if (raw == "red") return Tint::red;
        if (raw == "blue") return Tint::blue;
        return std::nullopt;
    }
};
template <> inline constexpr bool codesByRawValue<Tint> = true;
} // namespace foundation

namespace {
enum class NotOptedIn { a };
struct NoAdapter {};
} // namespace

static_assert(Codable<int> && Codable<std::string> && Codable<Date> && Codable<Data> && Codable<URL> &&
              Codable<UUID> && Codable<std::optional<int>> && Codable<Sample> && Codable<Tint>);
static_assert(!Codable<NotOptedIn> && !Codable<NoAdapter>);
static_assert(RawRepresentable<Tint> && !RawRepresentable<NotOptedIn>);

TEST(JSONEncoderTest, KeysComeOutSortedAndCompact) {
    const Sample sample{.zeta = 1, .alpha = "a", .middle = std::nullopt, .when = Date(5)};
    JSONEncoder encoder;
    EXPECT_EQ(text(encoder.encode(sample)), R"({"alpha":"a","middle":null,"when":5.0,"zeta":1})");
    encoder.setOutputFormatting(JSONEncoder::OutputFormatting::sortedKeys);
    EXPECT_EQ(text(encoder.encode(sample)), R"({"alpha":"a","middle":null,"when":5.0,"zeta":1})");

    encoder.setOutputFormatting(JSONEncoder::OutputFormatting::sortedKeys |
                                JSONEncoder::OutputFormatting::prettyPrinted);
    const std::string pretty = text(encoder.encode(sample));
    EXPECT_EQ(pretty, "{\n  \"alpha\": \"a\",\n  \"middle\": null,\n  \"when\": 5.0,\n  \"zeta\": 1\n}");
    EXPECT_EQ(JSONDecoder().decode<Sample>(pretty), sample);
}

TEST(JSONEncoderTest, FragmentsAtTheTopLevel) {
    const JSONEncoder encoder;
    EXPECT_EQ(text(encoder.encode(std::string("red"))), R"("red")");
    EXPECT_EQ(text(encoder.encode(42)), "42");
    EXPECT_EQ(text(encoder.encode(true)), "true");
    EXPECT_EQ(text(encoder.encode(Tint::red)), R"("red")");
    EXPECT_EQ(text(encoder.encode(std::vector<Tint>{Tint::blue, Tint::red})), R"(["blue","red"])");
    EXPECT_EQ(text(encoder.encode(std::optional<int>())), "null");
}

TEST(JSONEncoderTest, NonFiniteNumbersAreRefusedWherever) {
    const JSONEncoder encoder;
    const auto refused = [&](const auto& value, const CodingPath& path) {
        try {
            encoder.encode(value);
            ADD_FAILURE() << "encoded";
        } catch (const EncodingError& error) {
            EXPECT_EQ(error.kind(), EncodingError::Kind::invalidValue);
            EXPECT_EQ(error.codingPath(), path);
            EXPECT_NE(error.description().find("Double"), std::string::npos) << error.description();
            EXPECT_STREQ(error.what(), error.description().c_str());
        }
    };
    refused(std::nan(""), {});
    refused(std::numeric_limits<float>::infinity(), {});
    refused(std::vector<double>{1, -INFINITY}, {"[1]"});
    refused(std::map<std::string, std::vector<double>>{{"a", {0}}, {"b", {1, 2, NAN}}},
            CodingPath{"b", "[2]"});
    refused(Sample{.zeta = 0, .alpha = "", .middle = NAN, .when = Date()}, {"middle"});
    refused(Date(INFINITY), {});
}

TEST(JSONEncoderTest, TextThatIsNotUTF8IsRefused) {
    EXPECT_THROW(JSONEncoder().encode(std::string("a\xff")), EncodingError);
}

TEST(JSONCodingTest, FoundationTypesRoundTrip) {
    const JSONEncoder encoder;
    const JSONDecoder decoder;
    const auto roundTrip = [&](const auto& value, const std::string& json) {
        using T = std::decay_t<decltype(value)>;
        const Data bytes = encoder.encode(value);
        EXPECT_EQ(text(bytes), json);
        EXPECT_EQ(decoder.decode<T>(bytes), value);
    };
    roundTrip(Date(123.456), "123.456");
    roundTrip(Date(-1e9), "-1000000000.0");
    roundTrip(Data{0, 1, 2, 255}, R"("AAEC/w==")");
    roundTrip(Data{}, R"("")");
    roundTrip(std::vector<Data>{{1}, {1, 2}, {1, 2, 3}}, R"(["AQ==","AQI=","AQID"])");
    roundTrip(URL::fromString("https://example.com/a%20b?q=1").value(), R"("https://example.com/a%20b?q=1")");
    roundTrip(URL::fileURLWithPath("/tmp/x y"), R"("file:///tmp/x%20y")");
    const UUID uuid(UUID::Bytes{0xe6, 0x21, 0xe1, 0xf8, 0xc3, 0x6c, 0x49, 0x5a, 0x93, 0xfc, 0x0c, 0x24, 0x7a,
                                0x3e, 0x6e, 0x5f});
    roundTrip(uuid, R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")");
    EXPECT_EQ(decoder.decode<UUID>(R"("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")"), uuid);
    roundTrip(std::map<std::string, std::optional<Tint>>{{"a", Tint::blue}, {"b", std::nullopt}},
              R"({"a":"blue","b":null})");
    EXPECT_EQ(decoder.decode<Date>("42"), Date(42));
}

TEST(JSONCodingTest, RawValuesDecodeOnlyWhenKnown) {
    const JSONDecoder decoder;
    EXPECT_EQ(decoder.decode<Tint>(R"("blue")"), Tint::blue);
    try {
        decoder.decode<Tint>(R"("purple")");
        ADD_FAILURE() << "decoded";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::dataCorrupted);
        EXPECT_NE(error.description().find("Tint"), std::string::npos) << error.description();
        EXPECT_NE(error.description().find("\"purple\""), std::string::npos) << error.description();
    }
    try {
        decoder.decode<Tint>("0");
        ADD_FAILURE() << "decoded";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
    }
}
