#include "graphics/NSColor.h"

#include <foundation/KeyedArchiver.h>
#include <foundation/KeyedUnarchiver.h>
#include <foundation/PropertyListSerialization.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace graphics;
using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::PropertyList;

namespace {

foundation::Data archiveOf(const PropertyList::Dictionary& fields) {
    PropertyList::Dictionary object = fields;
    object["$class"] = "NSColor";
    const PropertyList archive = PropertyList::Dictionary{
        {"$archiver", "KeyedArchiver"},
        {"$version", 100000},
        {"$top", PropertyList::Dictionary{{"root", object}}},
    };
    return foundation::PropertyListSerialization::data(archive, foundation::PropertyListFormat::binary);
}

} // namespace

TEST(NSColorTest, ComponentAndSystemColoursRoundTripThroughArchives) {
    const auto p3 = CGColor::create(*CGColorSpace::withName(kCGColorSpaceDisplayP3), std::vector<CGFloat>{1, 0.5, 0, 0.75});
    ASSERT_TRUE(p3);
    for (const NSColor& color : {NSColor::sRGB(0.2, 0.4, 0.6), NSColor::withCGColor(*p3),
                                 *NSColor::systemColor("controlAccentColor")}) {
        const auto data = KeyedArchiver::archivedData(color, true);
        const auto back = KeyedUnarchiver::unarchivedObject<NSColor>(data);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, color);
    }
    EXPECT_FALSE(NSColor::systemColor("controlAccentColor")->cgColor());
    EXPECT_FALSE(NSColor::systemColor("noSuchColor"));
}

TEST(NSColorTest, ArchivesThatDoNotFitTheirSpaceAreErrors) {
    using foundation::UnarchivingError;
    EXPECT_THROW(KeyedUnarchiver::unarchivedObject<NSColor>(
                     archiveOf({{"colorSpace", "kCGColorSpaceSRGB"}, {"components", PropertyList::Array{1.0, 0.0}}})),
                 UnarchivingError);
    EXPECT_THROW(KeyedUnarchiver::unarchivedObject<NSColor>(archiveOf(
                     {{"colorSpace", "kCGColorSpaceSRGB"}, {"components", PropertyList::Array{1.0, NAN, 0.0, 1.0}}})),
                 UnarchivingError);
    EXPECT_THROW(KeyedUnarchiver::unarchivedObject<NSColor>(archiveOf(
                     {{"colorSpace", "kCGColorSpaceNoSuch"}, {"components", PropertyList::Array{1.0, 1.0}}})),
                 UnarchivingError);
    EXPECT_THROW(KeyedUnarchiver::unarchivedObject<NSColor>(archiveOf({{"name", "noSuchColor"}})), UnarchivingError);
    const auto gray = KeyedUnarchiver::unarchivedObject<NSColor>(
        archiveOf({{"colorSpace", "kCGColorSpaceGenericGrayGamma2_2"}, {"components", PropertyList::Array{0.5, 1.0}}}));
    ASSERT_TRUE(gray);
    EXPECT_EQ(gray->cgColor()->components().size(), 2u);
}
