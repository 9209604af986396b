#include "foundation/Base64.h"
#include "foundation/JSONDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace foundation;
using Kind = DecodingError::Kind;

namespace {

struct Entry {
    std::int8_t count = 0;
    std::optional<std::string> note;
    std::vector<double> values;
};

void to_json(nlohmann::json& json, const Entry& entry) {
    json = {{"count", entry.count}, {"note", entry.note}, {"values", entry.values}};
}

void from_json(const nlohmann::json& json, Entry& entry) {
    entry.count = decodeJSONField<std::int8_t>(json, "count");
    entry.note = decodeJSONField<std::optional<std::string>>(json, "note");
    entry.values = decodeJSONField<std::vector<double>>(json, "values");
}

// An adapter that reads through nlohmann directly; its errors still come out as DecodingError.
struct Lax {
    int x = 0;
};

void to_json(nlohmann::json& json, const Lax& lax) {
    json = {{"x", lax.x}};
}

void from_json(const nlohmann::json& json, Lax& lax) {
    lax.x = json.at("x").get<int>();
}

template <class T> DecodingError decodingError(std::string_view json) {
    try {
        JSONDecoder().decode<T>(json);
    } catch (const DecodingError& error) {
        EXPECT_FALSE(error.description().empty());
        return error;
    }
    ADD_FAILURE() << json << " decoded as " << codingTypeName<T>();
    return DecodingError(Kind::dataCorrupted, "");
}

} // namespace

TEST(JSONDecoderTest, NumbersMustFitTheTargetExactly) {
    const JSONDecoder decoder;
    EXPECT_EQ(decoder.decode<int>("42.0"), 42);
    EXPECT_EQ(decoder.decode<int>("1e2"), 100);
    EXPECT_EQ(decoder.decode<std::int8_t>("-128"), -128);
    EXPECT_EQ(decoder.decode<std::uint8_t>("255"), 255);
    EXPECT_EQ(decoder.decode<std::int64_t>("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decoder.decode<std::uint64_t>("18446744073709551615"),
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(decoder.decode<double>("7"), 7.0);
    EXPECT_EQ(decoder.decode<float>("0.1"), 0.1f);
    EXPECT_EQ(decoder.decode<std::uint32_t>("-0.0"), 0u);

    EXPECT_EQ(decodingError<std::int8_t>("300").description(),
              "Expected to decode Int8 but found number 300 instead.");
    EXPECT_EQ(decodingError<int>("42.5").description(),
              "Expected to decode Int32 but found number 42.5 instead.");
    const auto mismatch = [](Kind kind) { EXPECT_EQ(kind, Kind::typeMismatch); };
    mismatch(decodingError<std::uint8_t>("256").kind());
    mismatch(decodingError<std::int8_t>("-129").kind());
    mismatch(decodingError<unsigned>("-1").kind());
    mismatch(decodingError<std::uint64_t>("-1.0").kind());
    mismatch(decodingError<std::int64_t>("9223372036854775808").kind());
    mismatch(decodingError<std::uint64_t>("18446744073709551616").kind());
    mismatch(decodingError<std::int64_t>("9.223372036854775807e18").kind()); // 2^63 once read
    // Whole numbers just below Int64's smallest, which a double would round up to it.
    mismatch(decodingError<std::int64_t>("-9223372036854775809").kind());
    mismatch(decodingError<std::vector<std::int64_t>>("[0, -9223372036854776832]").kind());
    EXPECT_EQ(decoder.decode<double>("-9223372036854776833"), -9223372036854777856.0);
    EXPECT_EQ(decoder.decode<std::string>("\"-9223372036854775809\""), "-9223372036854775809");
    mismatch(decodingError<float>("1e39").kind());
    // Float's largest value as it is usually printed lies just past it and rounds to it.
    EXPECT_EQ(decoder.decode<float>("3.4028235e38"), std::numeric_limits<float>::max());
    EXPECT_EQ(decoder.decode<float>("-3.4028235e38"), -std::numeric_limits<float>::max());
    mismatch(decodingError<float>("3.4028236e38").kind()); // rounds to infinity
    const auto huge = decodingError<double>("1e400");
    mismatch(huge.kind());
    EXPECT_EQ(huge.description(), "Expected to decode Double but found number 1e400 instead.");
    mismatch(decodingError<std::vector<double>>("[1, -1e400]").kind());
}

TEST(JSONDecoderTest, BooleansNumbersAndTextDoNotMix) {
    EXPECT_EQ(JSONDecoder().decode<bool>("true"), true);
    const auto check = [](const DecodingError& error, const std::string& type) {
        EXPECT_EQ(error.kind(), Kind::typeMismatch);
        EXPECT_NE(error.description().find(type), std::string::npos) << error.description();
    };
    check(decodingError<int>("true"), "Int32");
    check(decodingError<double>("false"), "Double");
    check(decodingError<bool>("1"), "Bool");
    check(decodingError<bool>("\"true\""), "Bool");
    check(decodingError<std::string>("42"), "String");
    check(decodingError<int>("\"42\""), "Int32");
    check(decodingError<Date>("\"2001-01-01\""), "Date");
    check(decodingError<std::vector<int>>("{}"), "Array<Int32>");
    check(decodingError<Entry>("[]"), "Dictionary");
    EXPECT_EQ(decodingError<int>("null").kind(), Kind::valueNotFound);
    EXPECT_EQ(JSONDecoder().decode<std::optional<int>>("null"), std::nullopt);
}

TEST(JSONDecoderTest, FieldErrorsNameTheirPath) {
    const JSONDecoder decoder;
    const Entry entry = decoder.decode<Entry>(R"({"count": 3, "values": [1, 2.5]})");
    EXPECT_EQ(entry.count, 3);
    EXPECT_EQ(entry.note, std::nullopt);
    EXPECT_EQ(entry.values, (std::vector<double>{1, 2.5}));

    const auto inArray =
        decodingError<std::vector<Entry>>(R"([{"count": 1, "values": []}, {"count": 300, "values": []}])");
    EXPECT_EQ(inArray.kind(), Kind::typeMismatch);
    EXPECT_EQ(inArray.codingPath(), (CodingPath{"[1]", "count"}));
    EXPECT_EQ(inArray.description(),
              "Expected to decode Int8 but found number 300 instead. Coding path: [1].count");

    const auto missing = decodingError<std::map<std::string, Entry>>(R"({"a": {"count": 1}})");
    EXPECT_EQ(missing.kind(), Kind::keyNotFound);
    EXPECT_EQ(missing.codingPath(), CodingPath{"a"});
    EXPECT_NE(missing.description().find("\"values\""), std::string::npos);

    const auto null = decodingError<Entry>(R"({"count": null, "values": []})");
    EXPECT_EQ(null.kind(), Kind::valueNotFound);
    EXPECT_EQ(null.codingPath(), CodingPath{"count"});

    EXPECT_EQ(decodingError<Entry>(R"({"count": 1, "note": 5, "values": []})").codingPath(),
              CodingPath{"note"});
    EXPECT_EQ(decodingError<Entry>(R"({"count": 1, "values": [true]})").codingPath(),
              (CodingPath{"values", "[0]"}));
}

TEST(JSONDecoderTest, NlohmannErrorsInsideAnAdapterBecomeDecodingErrors) {
    EXPECT_EQ(JSONDecoder().decode<Lax>(R"({"x": 4})").x, 4);
    const auto missing = decodingError<Lax>(R"({"y": 4})");
    EXPECT_EQ(missing.kind(), Kind::keyNotFound);
    EXPECT_NE(missing.description().find("Lax"), std::string::npos) << missing.description();
    EXPECT_EQ(decodingError<Lax>(R"({"x": "4"})").kind(), Kind::typeMismatch);
}

TEST(JSONDecoderTest, MalformedJSONIsDataCorrupted) {
    for (const std::string json : {"", " ", "{", "[1,]", "nul", "{\"a\" 1}", "{\"a\":1} x", "'a'", "\"\xff\"",
                                   "\"\\ud800\"", "01", "NaN", "[1e400"}) {
        const auto error = decodingError<nlohmann::json>(json);
        if (json == "[1e400") continue; // the number is what stops the parser
        EXPECT_EQ(error.kind(), Kind::dataCorrupted) << json;
        EXPECT_TRUE(error.description().starts_with("The given data was not valid JSON"))
            << error.description();
    }
    // A NUL byte does not end the text: what follows it still has to be JSON, and nothing can.
    using namespace std::string_literals;
    for (const std::string json : {"123\0"s, "[1]\0"s, "{\"a\":1}\0xyz"s, "\"a\0b\""s, "\0"s}) {
        const auto error = decodingError<nlohmann::json>(json);
        EXPECT_EQ(error.kind(), Kind::dataCorrupted) << error.description();
    }
    EXPECT_EQ(decodingError<int>("123\0"s).kind(), Kind::dataCorrupted);
    const std::string deep =
        std::string(JSONDecoder::maximumDepth + 1, '[') + std::string(JSONDecoder::maximumDepth + 1, ']');
    EXPECT_EQ(decodingError<nlohmann::json>(deep).kind(), Kind::dataCorrupted);
    const std::string fine =
        std::string(JSONDecoder::maximumDepth, '[') + std::string(JSONDecoder::maximumDepth, ']');
    EXPECT_NO_THROW(JSONDecoder().decode<nlohmann::json>(fine));
    // Brackets inside text do not count.
    EXPECT_EQ(JSONDecoder().decode<std::string>("\"" + std::string(1000, '[') + "\\\"\""),
              std::string(1000, '[') + "\"");
}

TEST(JSONDecoderTest, BadTextForFoundationTypesIsDataCorrupted) {
    EXPECT_EQ(decodingError<Data>(R"("AQI")").kind(), Kind::dataCorrupted);
    EXPECT_EQ(decodingError<URL>(R"("not a url")").kind(), Kind::dataCorrupted);
    EXPECT_EQ(decodingError<URL>(R"("relative/path")").kind(), Kind::dataCorrupted);
    EXPECT_EQ(decodingError<UUID>(R"("E621E1F8C36C495A93FC0C247A3E6E5F")").kind(), Kind::dataCorrupted);
    EXPECT_EQ(decodingError<Data>("[1, 2]").kind(), Kind::typeMismatch);
}

TEST(Base64Test, EncodesAndDecodesStrictly) {
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{}, ""}, {{'f'}, "Zg=="}, {{'f', 'o'}, "Zm8="}, {{'f', 'o', 'o'}, "Zm9v"}, {{0xfb, 0xff}, "+/8="}};
    for (const auto& [bytes, base64] : cases) {
        EXPECT_EQ(base64EncodedString(bytes), base64);
        EXPECT_EQ(dataFromBase64(base64), bytes) << base64;
    }
    for (const char* bad : {"Zg", "Zg=", "Z===", "Zg=a", "====", "Zm9v\n", "Zm 9", "Zm-_", "=Zm9"})
        EXPECT_EQ(dataFromBase64(bad), std::nullopt) << bad;
}
