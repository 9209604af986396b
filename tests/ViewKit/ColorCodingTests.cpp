#include "ViewKit/ColorCoding.h"
#include "ViewKit/ColorHex.h"
#include "ViewKit/ColorRandom.h"

#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using foundation::DecodingError;
using ui::Color;

namespace {

std::vector<double> components(const Color& color) {
    const auto cg = color.cgColor();
    if (!cg) return {};
    return cg->converted(*graphics::CGColorSpace::withName(graphics::kCGColorSpaceExtendedSRGB)).components();
}

::testing::AssertionResult near(const std::vector<double>& actual, const std::vector<double>& expected) {
    if (actual.size() == expected.size()) {
        bool close = true;
        for (std::size_t i = 0; i < actual.size(); ++i)
            close = close && std::abs(actual[i] - expected[i]) < 1e-9;
        if (close) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << ::testing::PrintToString(actual) << " is not " << ::testing::PrintToString(expected);
}

std::string json(const Color& color) {
    const auto data = foundation::JSONEncoder().encode(color);
    return std::string(data.begin(), data.end());
}

} // namespace

TEST(ColorHexTest, PrefixesDigitsAndWidths) {
    const std::vector<double> orange{1, 128 / 255.0, 0, 1};
    for (const char* text : {"#FF8000", "0xff8000", "FF8000", "ff8000"}) {
        const auto color = ViewKit::colorFromHexString(text);
        ASSERT_TRUE(color) << text;
        EXPECT_TRUE(near(components(*color), orange)) << text;
    }
    for (const char* text : {"0XFF8000", "#0xFF", "", "#", "0x", "FF 80", "#GG0000", "+FF"})
        EXPECT_EQ(ViewKit::colorFromHexString(text), std::nullopt) << text;

    // More than 16 digits wrap; the last six still decide.
    EXPECT_TRUE(near(components(*ViewKit::colorFromHexString("12345678901234FF8000")), orange));
    // Eight digits lose their top byte and keep the alpha passed.
    EXPECT_TRUE(near(components(*ViewKit::colorFromHexString("80FF8000", 0.25)), {1, 128 / 255.0, 0, 0.25}));
    EXPECT_TRUE(near(components(ViewKit::colorFromHex(0xABFF8000)), orange));

    const auto ns = ViewKit::nsColorFromHexString("#FF8000", 0.5);
    ASSERT_TRUE(ns);
    EXPECT_EQ(ns->cgColor()->components(), (std::vector<double>{1, 128 / 255.0, 0, 0.5}));
    EXPECT_EQ(ViewKit::nsColorFromHexString("0XFF"), std::nullopt);
}

TEST(ColorCodingTest, FourNamedComponentsInSRGB) {
    const Color color(Color::RGBColorSpace::sRGB, 0.25, 0.5, 0.75, 0.125);
    EXPECT_EQ(json(color), R"({"alpha":0.125,"blue":0.75,"green":0.5,"red":0.25})");
    const auto back = foundation::JSONDecoder().decode<Color>(json(color));
    EXPECT_EQ(back, color);

    // A wide-gamut colour encodes its extended sRGB equivalent.
    const Color p3(Color::RGBColorSpace::displayP3, 1, 0, 0);
    const auto encoded = nlohmann::json::parse(json(p3));
    EXPECT_GT(encoded["red"].get<double>(), 1.0);
    EXPECT_LT(encoded["green"].get<double>(), 0.0);
    EXPECT_EQ(encoded["alpha"].get<double>(), 1.0);
    EXPECT_EQ(encoded.size(), 4u);
}

TEST(ColorCodingTest, ColoursWithoutComponentsAndIncompleteObjectsFail) {
    EXPECT_THROW(foundation::JSONEncoder().encode(Color::primary), foundation::EncodingError);
    EXPECT_THROW(foundation::JSONEncoder().encode(Color::accentColor.opacity(0.5)),
                 foundation::EncodingError);
    try {
        foundation::JSONDecoder().decode<Color>(R"({"red":1,"green":0,"blue":0})");
        ADD_FAILURE() << "decoded without alpha";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::keyNotFound);
    }
    try {
        foundation::JSONDecoder().decode<Color>(R"({"red":"1","green":0,"blue":0,"alpha":1})");
        ADD_FAILURE() << "decoded text as a number";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
    }
}

TEST(ColorRandomTest, ComponentsStayInTheRange) {
    const foundation::ClosedRange<double> range(0.2, 0.4);
    for (int i = 0; i < 10'000; ++i) {
        const auto c = components(ViewKit::randomColor(false, range));
        ASSERT_EQ(c.size(), 4u);
        for (int k = 0; k < 3; ++k) {
            ASSERT_GE(c[k], 0.2 - 1e-12);
            ASSERT_LE(c[k], 0.4 + 1e-12);
        }
        ASSERT_EQ(c[3], 1.0);
    }
    bool translucent = false;
    for (int i = 0; i < 100 && !translucent; ++i)
        translucent = components(ViewKit::randomColor(true))[3] < 1;
    EXPECT_TRUE(translucent);
    const auto point = components(ViewKit::randomColor(false, foundation::ClosedRange<double>(0.5, 0.5)));
    EXPECT_TRUE(near(point, {0.5, 0.5, 0.5, 1}));
}
