#include "graphics/CGColor.h"
#include "graphics/CGColorSpace.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

using graphics::CGColor;
using graphics::CGColorSpace;

namespace {

CGColorSpace space(std::string_view name) {
    return *CGColorSpace::withName(name);
}

CGColor make(std::string_view name, std::vector<double> components) {
    return *CGColor::create(space(name), components);
}

void expectComponentsNear(const CGColor& color, const std::vector<double>& expected, double tolerance) {
    ASSERT_EQ(color.components().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(color.components()[i], expected[i], tolerance) << "component " << i;
}

} // namespace

TEST(CGColorTest, NeedsOneComponentPerChannelPlusAlpha) {
    const CGColorSpace rgb = space(graphics::kCGColorSpaceSRGB);
    const CGColorSpace gray = space(graphics::kCGColorSpaceGenericGrayGamma2_2);
    EXPECT_TRUE(CGColor::create(rgb, std::array{0.1, 0.2, 0.3, 1.0}).has_value());
    EXPECT_FALSE(CGColor::create(rgb, std::array{0.1, 0.2, 0.3}).has_value());
    EXPECT_FALSE(CGColor::create(rgb, std::array{0.1, 0.2, 0.3, 0.4, 1.0}).has_value());
    EXPECT_FALSE(CGColor::create(rgb, std::span<const double>()).has_value());
    EXPECT_TRUE(CGColor::create(gray, std::array{0.5, 1.0}).has_value());
    EXPECT_FALSE(CGColor::create(gray, std::array{0.5, 0.5, 0.5, 1.0}).has_value());
}

TEST(CGColorTest, RejectsComponentsThatAreNotFinite) {
    const CGColorSpace extended = space(graphics::kCGColorSpaceExtendedSRGB);
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(CGColor::create(extended, std::array{std::nan(""), 0.0, 0.0, 1.0}).has_value());
    EXPECT_FALSE(CGColor::create(extended, std::array{0.0, 0.0, 0.0, std::nan("")}).has_value());
    EXPECT_FALSE(CGColor::create(extended, std::array{0.0, inf, 0.0, 1.0}).has_value());
    EXPECT_FALSE(CGColor::create(extended, std::array{0.0, 0.0, 0.0, -inf}).has_value());
}

TEST(CGColorTest, ClampsAlphaAlwaysAndColourOnlyInNonExtendedSpaces) {
    EXPECT_EQ(make(graphics::kCGColorSpaceSRGB, {1.5, -0.5, 0.5, 2}).components(),
              (std::vector<double>{1, 0, 0.5, 1}));
    EXPECT_EQ(make(graphics::kCGColorSpaceExtendedSRGB, {1.5, -0.5, 0.5, 2}).components(),
              (std::vector<double>{1.5, -0.5, 0.5, 1}));
    EXPECT_EQ(make(graphics::kCGColorSpaceExtendedGray, {-3, -1}).components(), (std::vector<double>{-3, 0}));
    EXPECT_EQ(make(graphics::kCGColorSpaceDisplayP3, {0.2, 0.3, 0.4, 0.5}).alpha(), 0.5);
}

TEST(CGColorTest, ConveniencesNeverFail) {
    const CGColor red = CGColor::sRGB(1, 0, 0);
    EXPECT_EQ(red, make(graphics::kCGColorSpaceSRGB, {1, 0, 0, 1}));
    EXPECT_NE(red, make(graphics::kCGColorSpaceExtendedSRGB, {1, 0, 0, 1}));
    EXPECT_EQ(CGColor::sRGB(std::nan(""), 2, -1, std::nan("")).components(),
              (std::vector<double>{0, 1, 0, 0}));

    const CGColor gray = CGColor::gray(0.5, 0.25);
    EXPECT_EQ(gray.colorSpace(), space(graphics::kCGColorSpaceGenericGrayGamma2_2));
    EXPECT_EQ(gray.components(), (std::vector<double>{0.5, 0.25}));

    EXPECT_EQ(red.copyWithAlpha(0.5), CGColor::sRGB(1, 0, 0, 0.5));
    EXPECT_EQ(red.copyWithAlpha(7).alpha(), 1);
    EXPECT_EQ(red.copyWithAlpha(std::nan("")).alpha(), 0);
}

TEST(CGColorTest, LinearConversionFollowsTheSRGBCurveAndRoundTrips) {
    const CGColorSpace linear = space(graphics::kCGColorSpaceLinearSRGB);
    const CGColorSpace sRGB = space(graphics::kCGColorSpaceSRGB);
    expectComponentsNear(CGColor::sRGB(0.5, 0, 1, 0.3).converted(linear), {0.21404114048223255, 0, 1, 0.3},
                         1e-12);

    // Around the knee of the curve, where its two pieces meet.
    for (double v : {0.0, 0.001, 0.04, 0.04045, 0.040451, 0.0405, 0.2, 0.5, 0.73, 0.999, 1.0}) {
        const CGColor original = CGColor::sRGB(v, 1 - v, v / 2, 0.75);
        expectComponentsNear(original.converted(linear).converted(sRGB), original.components(), 1e-9);
    }
    const CGColor wide = make(graphics::kCGColorSpaceExtendedSRGB, {-0.5, 1.7, 0.02, 1});
    const CGColor back =
        wide.converted(space(graphics::kCGColorSpaceExtendedLinearSRGB)).converted(wide.colorSpace());
    expectComponentsNear(back, wide.components(), 1e-9);
}

TEST(CGColorTest, DisplayP3GoesThroughTheGamutMatrix) {
    const CGColorSpace extended = space(graphics::kCGColorSpaceExtendedSRGB);
    const CGColor p3Red = make(graphics::kCGColorSpaceDisplayP3, {1, 0, 0, 1});
    expectComponentsNear(p3Red.converted(extended),
                         {1.0930663624351615, -0.22674197356975412, -0.15013458093711954, 1}, 1e-9);
    expectComponentsNear(make(graphics::kCGColorSpaceDisplayP3, {1, 1, 1, 1}).converted(extended),
                         {1, 1, 1, 1}, 1e-12);

    const QColor shown = p3Red.toQColor();
    EXPECT_FLOAT_EQ(shown.redF(), 1);
    EXPECT_FLOAT_EQ(shown.greenF(), 0);

    const CGColor inGamut = CGColor::sRGB(0.8, 0.3, 0.1);
    expectComponentsNear(inGamut.converted(p3Red.colorSpace()).converted(inGamut.colorSpace()),
                         inGamut.components(), 1e-9);
}

TEST(CGColorTest, GrayConvertsThroughLuminance) {
    // Gamma 2.2 gray of 0.5 is 0.5^2.2 of linear light. QColor keeps 16 bits a channel.
    EXPECT_NEAR(CGColor::gray(0.5).toQColor().redF(), 0.5038667822745281, 1e-4);
    EXPECT_NEAR(CGColor::gray(0.5).toQColor().blueF(), 0.5038667822745281, 1e-4);
    EXPECT_NEAR(make(graphics::kCGColorSpaceExtendedGray, {0.5, 1}).toQColor().greenF(), 0.5, 1e-4);

    const CGColorSpace gray = space(graphics::kCGColorSpaceGenericGrayGamma2_2);
    expectComponentsNear(CGColor::sRGB(1, 1, 1, 0.5).converted(gray), {1, 0.5}, 1e-12);
    expectComponentsNear(CGColor::sRGB(0.3, 0.3, 0.3).converted(space(graphics::kCGColorSpaceExtendedGray)),
                         {0.3, 1}, 1e-12);
    expectComponentsNear(CGColor::gray(0.35).converted(space(graphics::kCGColorSpaceSRGB)).converted(gray),
                         {0.35, 1}, 1e-9);
    // Green carries most of the luminance.
    EXPECT_GT(CGColor::sRGB(0, 1, 0).converted(gray).components()[0],
              CGColor::sRGB(1, 0, 1).converted(gray).components()[0]);
}

TEST(CGColorTest, ConvertsToAndFromQColor) {
    const QColor shown = make(graphics::kCGColorSpaceLinearSRGB, {0.5, 0, 1, 0.4}).toQColor();
    EXPECT_EQ(shown.spec(), QColor::Rgb);
    EXPECT_NEAR(shown.redF(), 0.7353569830524495, 1e-4);
    EXPECT_NEAR(shown.alphaF(), 0.4, 1e-4);
    EXPECT_FLOAT_EQ(make(graphics::kCGColorSpaceExtendedSRGB, {2, -1, 0.5, 1}).toQColor().redF(), 1);

    expectComponentsNear(CGColor::fromQColor(QColor(255, 128, 0, 51)), {1, 128 / 255.0, 0, 0.2}, 1e-4);
    EXPECT_EQ(CGColor::fromQColor(QColor()), CGColor::sRGB(0, 0, 0, 0));

    const CGColor original = CGColor::sRGB(0.25, 0.5, 0.75, 1);
    expectComponentsNear(CGColor::fromQColor(original.toQColor()), original.components(), 1e-4);
}
