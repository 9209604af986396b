#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSFontDescriptor.h"
#include "foundation/PropertyListSerialization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace foundation;
using Design = NSFontDescriptor::Design;

namespace {

// The archive of a descriptor with some fields replaced (an absent value removes the field).
Data archiveWith(const NSFontDescriptor& font, const std::string& key, PropertyList value) {
    PropertyList archive = PropertyListSerialization::propertyList(KeyedArchiver::archivedData(font, true));
    auto outer = *archive.dictionary();
    auto top = *outer["$top"].dictionary();
    auto fields = *top["root"].dictionary();
    if (value.isAbsent())
        fields.erase(key);
    else
        fields[key] = std::move(value);
    top["root"] = fields;
    outer["$top"] = top;
    return PropertyListSerialization::data(outer, PropertyListFormat::binary);
}

} // namespace

static_assert(SecureCodingClass<NSFontDescriptor>);

TEST(NSFontDescriptorTest, CopiesChangeOneAttributeAndEqualityComparesAll) {
    const NSFontDescriptor font("DejaVu Sans", 13, Design::rounded, "Bold");
    EXPECT_EQ(font.withSize(20), NSFontDescriptor("DejaVu Sans", 20, Design::rounded, "Bold"));
    EXPECT_EQ(font.withFamily("Serif"), NSFontDescriptor("Serif", 13, Design::rounded, "Bold"));
    EXPECT_EQ(font.withDesign(Design::serif), NSFontDescriptor("DejaVu Sans", 13, Design::serif, "Bold"));
    EXPECT_NE(NSFontDescriptor("DejaVu Sans", 13, Design::rounded), font); // the face differs
}

TEST(NSFontDescriptorTest, ArchiveRoundTrip) {
    for (const auto& font :
         {NSFontDescriptor("DejaVu Sans", 13.5, Design::serif, "Oblique"),
          NSFontDescriptor("DejaVu Sans Mono", 0, Design::monospaced), NSFontDescriptor()}) {
        const auto back =
            KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(KeyedArchiver::archivedData(font, true));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, font);
    }
    const PropertyList archive = PropertyListSerialization::propertyList(
        KeyedArchiver::archivedData(NSFontDescriptor("F", 12, Design::rounded), true));
    EXPECT_EQ(archive["$top"]["root"]["$class"], PropertyList("NSFontDescriptor"));
    EXPECT_EQ(archive["$top"]["root"]["design"], PropertyList("rounded"));
}

TEST(NSFontDescriptorTest, BadFieldsUnarchiveAsNothing) {
    const NSFontDescriptor font("DejaVu Sans", 13);
    const auto error = [](const Data& data) -> std::string {
        try {
            KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(data);
        } catch (const UnarchivingError& error) {
            return error.description();
        }
        return "unarchived";
    };
    EXPECT_NE(error(archiveWith(font, "design", "fancy")).find("'fancy'"), std::string::npos);
    EXPECT_NE(error(archiveWith(font, "design", 2)).find("'design'"), std::string::npos);
    EXPECT_NE(error(archiveWith(font, "size", -1.0)).find("size"), std::string::npos);
    EXPECT_NE(error(archiveWith(font, "size", std::nan(""))).find("size"), std::string::npos);
    EXPECT_NE(error(archiveWith(font, "family", PropertyList())).find("NSFontDescriptor"), std::string::npos);

    // Without a design it is the default design; without a face, the family's regular one.
    const NSFontDescriptor styled("F", 9, Design::serif, "Bold");
    const auto plain =
        KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(archiveWith(styled, "design", PropertyList()));
    ASSERT_TRUE(plain);
    EXPECT_EQ(*plain, styled.withDesign(Design::defaultDesign));
    const auto regular =
        KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(archiveWith(styled, "face", PropertyList()));
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular->face(), "");
}
