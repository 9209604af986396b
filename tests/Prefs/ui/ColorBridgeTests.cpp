// Stored forms of the view layer's colours, written and read through keys.
#include "PrefsFixture.h"

#include "Prefs/ColorBridge.h"
#include "Prefs/ValueAccess.h"

#include "graphics/CGColorSpace.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

using foundation::PropertyList;
using prefs_testing::PrefsTest;

class ColorBridgeTest : public PrefsTest {
protected:
    std::shared_ptr<foundation::UserDefaults> defaults = suite();
    std::shared_ptr<Prefs::Key<ui::Color>> key =
        std::make_shared<Prefs::Key<ui::Color>>("tint", ui::Color::clear, defaults);

    // What the suite holds for `stored`, read back through the key.
    ui::Color readStored(PropertyList stored) {
        defaults->setObject(stored, "tint");
        return Prefs::get(key);
    }
};

TEST_F(ColorBridgeTest, AComponentColourIsStoredAsItsSpaceAndComponents) {
    const ui::Color orange(1, 0.5, 0, 0.75);
    Prefs::set(key, orange);
    const PropertyList stored = storedInFile("com.example.prefs", "tint");
    EXPECT_EQ(stored, PropertyList(PropertyList::Array{std::string(graphics::kCGColorSpaceSRGB),
                                                       PropertyList::Array{1.0, 0.5, 0.0, 0.75}}));
    EXPECT_EQ(Prefs::get(key), orange);

    const ui::Color p3(ui::Color::RGBColorSpace::displayP3, 0.2, 0.4, 0.6);
    Prefs::set(key, p3);
    EXPECT_EQ(Prefs::get(key), p3);
}

TEST_F(ColorBridgeTest, ADynamicColourIsStoredAsAnArchiveAndReadsBack) {
    ASSERT_FALSE(ui::Color::accentColor.cgColor());
    for (const ui::Color& color : {ui::Color::accentColor, ui::Color::secondary}) {
        Prefs::set(key, color);
        EXPECT_NE(storedInFile("com.example.prefs", "tint").data(), nullptr) << color.description();
        EXPECT_EQ(Prefs::get(key), color) << color.description();
    }
}

TEST_F(ColorBridgeTest, ComponentListsThatDoNotFitTheSpaceReadAsNothing) {
    const auto srgb = std::string(graphics::kCGColorSpaceSRGB);
    const ui::Color fallback = ui::Color::clear;
    EXPECT_EQ(readStored(PropertyList::Array{srgb, PropertyList::Array{1.0, 0.5, 0.0}}), fallback)
        << "no alpha";
    EXPECT_EQ(readStored(PropertyList::Array{srgb, PropertyList::Array{1.0, 0.5, 0.0, 1.0, 1.0}}), fallback);
    EXPECT_EQ(readStored(PropertyList::Array{srgb, PropertyList::Array{}}), fallback);
    EXPECT_EQ(readStored(PropertyList::Array{
                  srgb, PropertyList::Array{1.0, std::numeric_limits<double>::infinity(), 0.0, 1.0}}),
              fallback);
    EXPECT_EQ(readStored(PropertyList::Array{srgb, PropertyList::Array{1.0, "0.5", 0.0, 1.0}}), fallback);
    EXPECT_EQ(readStored(PropertyList::Array{"kNoSuchSpace", PropertyList::Array{1.0, 0.5, 0.0, 1.0}}),
              fallback);
    EXPECT_EQ(readStored(PropertyList::Array{srgb}), fallback) << "no component list";
    EXPECT_EQ(readStored(PropertyList::Array{PropertyList::Array{1.0, 0.5, 0.0, 1.0}, srgb}), fallback);
    EXPECT_EQ(readStored(PropertyList(std::string("red"))), fallback);

    // Whole numbers are numbers too: a gray written by another program.
    EXPECT_EQ(readStored(PropertyList::Array{std::string(graphics::kCGColorSpaceGenericGrayGamma2_2),
                                             PropertyList::Array{1, 1}}),
              ui::Color(graphics::CGColor::gray(1)));
}

TEST_F(ColorBridgeTest, DataThatIsNoColourArchiveIsReportedAndReadsAsNothing) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(readStored(PropertyList(foundation::Data{1, 2, 3})), ui::Color::clear);
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty());
}

TEST_F(ColorBridgeTest, AColourWithNeitherFormKeepsWhatWasStored) {
    Prefs::set(key, ui::Color::red);
    const ui::Color mixed = ui::Color::primary.mix(ui::Color::accentColor, 0.5);
    ASSERT_FALSE(mixed.nsColor());
    Prefs::set(key, mixed);
    EXPECT_EQ(Prefs::get(key), ui::Color::red);
}

TEST_F(ColorBridgeTest, ResolvedColoursAreStoredAsJSONText) {
    auto resolvedKey =
        std::make_shared<Prefs::Key<ui::Color::Resolved>>("resolved", ui::Color::Resolved(), defaults);
    const ui::Color::Resolved resolved(ui::Color::RGBColorSpace::sRGBLinear, 0.25f, 0.5f, 1.0f, 0.5f);
    Prefs::set(resolvedKey, resolved);
    EXPECT_NE(storedInFile("com.example.prefs", "resolved").string(), nullptr);
    EXPECT_EQ(Prefs::get(resolvedKey), resolved);
}

} // namespace
