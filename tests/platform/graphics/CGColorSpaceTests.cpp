#include "graphics/CGColorSpace.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

using graphics::CGColorSpace;
using graphics::CGColorSpaceModel;

namespace {

struct Expected {
    std::string_view name;
    std::size_t components;
    CGColorSpaceModel model;
    bool extended;
    bool linear;
};

// Spelled out rather than taken from the constants, which the table is built from: these names
// are stored with colours.
constexpr Expected knownSpaces[] = {
    {"kCGColorSpaceSRGB", 3, CGColorSpaceModel::rgb, false, false},
    {"kCGColorSpaceExtendedSRGB", 3, CGColorSpaceModel::rgb, true, false},
    {"kCGColorSpaceLinearSRGB", 3, CGColorSpaceModel::rgb, false, true},
    {"kCGColorSpaceExtendedLinearSRGB", 3, CGColorSpaceModel::rgb, true, true},
    {"kCGColorSpaceDisplayP3", 3, CGColorSpaceModel::rgb, false, false},
    {"kCGColorSpaceGenericGrayGamma2_2", 1, CGColorSpaceModel::monochrome, false, false},
    {"kCGColorSpaceExtendedGray", 1, CGColorSpaceModel::monochrome, true, false},
};

} // namespace

TEST(CGColorSpaceTest, KnowsEachNameWithItsProperties) {
    for (const Expected& expected : knownSpaces) {
        SCOPED_TRACE(expected.name);
        const auto space = CGColorSpace::withName(expected.name);
        ASSERT_TRUE(space.has_value());
        EXPECT_EQ(space->name(), expected.name);
        EXPECT_EQ(space->numberOfComponents(), expected.components);
        EXPECT_EQ(space->model(), expected.model);
        EXPECT_EQ(space->isExtended(), expected.extended);
        EXPECT_EQ(space->isLinear(), expected.linear);
    }
}

TEST(CGColorSpaceTest, UnknownNamesGiveNothing) {
    for (std::string_view name : {"", "kCGColorSpaceNope", "kcgcolorspacesrgb", "kCGColorSpaceSRGB ", "sRGB"})
        EXPECT_EQ(CGColorSpace::withName(name), std::nullopt) << name;
    EXPECT_EQ(CGColorSpace::withName(std::string_view("kCGColorSpaceSRGB\0x", 19)), std::nullopt);
}

TEST(CGColorSpaceTest, EqualByName) {
    EXPECT_EQ(CGColorSpace::withName("kCGColorSpaceSRGB"),
              CGColorSpace::withName(graphics::kCGColorSpaceSRGB));
    EXPECT_NE(CGColorSpace::withName("kCGColorSpaceSRGB"),
              CGColorSpace::withName("kCGColorSpaceExtendedSRGB"));
}
