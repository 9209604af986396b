#include "QuorilShared/BundleIdentifier.h"
#include "QuorilShared/DockIconKey.h"
#include "QuorilShared/MacAppIcon.h"

#include "Prefs/ValueAccess.h"

#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using foundation::PropertyList;
using quoril::MacAppIcon;

namespace {

// What the standard suite's file holds under `key`, as the plug-in's process would read it.
PropertyList storedInStandardFile(const std::string& key) {
    const std::filesystem::path file = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) /
                                       (foundation::UserDefaults::standard()->suiteName() + ".plist");
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (bytes.empty()) return {};
    return foundation::PropertyListSerialization::propertyList(bytes)[key];
}

class DockIconTest : public ::testing::Test {
protected:
    void TearDown() override { quoril::dockIcon()->reset(); }
};

} // namespace

TEST(MacAppIconTest, RawValuesAndImageNamesFollowTheCaseNames) {
    std::vector<std::string> raw;
    std::vector<std::string> images;
    for (MacAppIcon icon : quoril::allMacAppIcons) {
        raw.push_back(quoril::rawValue(icon));
        images.push_back(quoril::imageName(icon));
        EXPECT_EQ(quoril::macAppIconFromRawValue(quoril::rawValue(icon)), icon);
    }
    EXPECT_EQ(raw, (std::vector<std::string>{"red", "orange", "yellow", "green", "blue", "purple", "black",
                                             "white"}));
    EXPECT_EQ(images,
              (std::vector<std::string>{"RedAppIcon", "OrangeAppIcon", "YellowAppIcon", "GreenAppIcon",
                                        "BlueAppIcon", "PurpleAppIcon", "BlackAppIcon", "WhiteAppIcon"}));
    EXPECT_EQ(quoril::macAppIconFromRawValue("Red"), std::nullopt);
    EXPECT_EQ(quoril::macAppIconFromRawValue(""), std::nullopt);
}

TEST_F(DockIconTest, IsStoredAsTheJSONTextOfItsRawValue) {
    const auto& key = quoril::dockIcon();
    EXPECT_EQ(key->name(), "dockIcon");
    EXPECT_EQ(key->suite(), foundation::UserDefaults::standard());
    EXPECT_EQ(foundation::UserDefaults::standard()->objectForKey("dockIcon"), PropertyList("\"red\""));
    EXPECT_EQ(Prefs::get(key), MacAppIcon::red);

    Prefs::set(key, MacAppIcon::purple);
    EXPECT_EQ(storedInStandardFile("dockIcon"), PropertyList("\"purple\""));
    EXPECT_EQ(Prefs::get(key), MacAppIcon::purple);
}

TEST_F(DockIconTest, AnythingButAQuotedCaseNameReadsAsRed) {
    const auto& standard = foundation::UserDefaults::standard();
    for (const PropertyList& stored : {PropertyList("purple"), PropertyList(""), PropertyList("\"pink\""),
                                       PropertyList("\"Purple\""), PropertyList(5), PropertyList(true)}) {
        standard->setObject(stored, "dockIcon");
        EXPECT_EQ(Prefs::get(quoril::dockIcon()), MacAppIcon::red) << stored.description();
    }
}

TEST_F(DockIconTest, ThePlugInReadsTheProgramsSuiteByItsBundleIdentifier) {
    EXPECT_EQ(quoril::bundleIdentifier, "org.quoril.Quoril");
    const auto program = foundation::UserDefaults::make(quoril::bundleIdentifier);
    const auto plugIn = foundation::UserDefaults::make(quoril::bundleIdentifier);
    EXPECT_EQ(Prefs::get(*plugIn, quoril::dockIcon()), MacAppIcon::red) << "nothing stored: the default";
    program->setObject("\"green\"", "dockIcon");
    EXPECT_EQ(Prefs::get(*plugIn, quoril::dockIcon()), MacAppIcon::green);
    program->removeObjectForKey("dockIcon");
}
