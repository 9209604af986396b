#include "ui/NamedColor.h"
#include "ui/StyleContext.h"

#include "TemporaryFolder.h"

#include <foundation/Bundle.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListSerialization.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using foundation::PropertyList;
using ui::Color;
using ui::StyleContext;

namespace {

const StyleContext light{};
const StyleContext dark{.colorScheme = ui::ColorScheme::dark};

class NamedColorTest : public testing::Test {
protected:
    std::shared_ptr<foundation::Bundle> bundleWithTable(const std::string& contents) {
        const auto resources = folder_.path() / "Test.bundle" / "Resources";
        std::filesystem::create_directories(resources);
        std::ofstream(resources / "Colors.plist", std::ios::binary) << contents;
        return foundation::Bundle::withPath(folder_.path() / "Test.bundle");
    }

    std::shared_ptr<foundation::Bundle> bundleWithTable(const PropertyList::Dictionary& table) {
        const auto data =
            foundation::PropertyListSerialization::data(table, foundation::PropertyListFormat::xml);
        return bundleWithTable(std::string(data.begin(), data.end()));
    }

    testing_support::TemporaryFolder folder_;
};

void expectSRGB(const Color::Resolved& resolved, double red, double green, double blue, double opacity) {
    EXPECT_NEAR(resolved.red(), red, 1e-4);
    EXPECT_NEAR(resolved.green(), green, 1e-4);
    EXPECT_NEAR(resolved.blue(), blue, 1e-4);
    EXPECT_NEAR(resolved.opacity, opacity, 1e-6);
}

} // namespace

TEST_F(NamedColorTest, ColoursComeFromTheTableForEachScheme) {
    const auto bundle = bundleWithTable(PropertyList::Dictionary{
        {"TrafficLightYellowColor",
         PropertyList::Dictionary{{"light", PropertyList::Array{0.98, 0.76, 0.18, 1}},
                                  {"dark", PropertyList::Array{1, 0.84, 0.04, 1}}}},
        {"Plain", PropertyList::Dictionary{{"light", PropertyList::Array{0, 1, 0, 0.5}}}},
        {"Wide", PropertyList::Dictionary{{"colorSpace", "kCGColorSpaceDisplayP3"},
                                          {"light", PropertyList::Array{1, 0, 0, 1}}}},
    });
    const Color yellow("TrafficLightYellowColor", bundle);
    expectSRGB(yellow.resolve(light), 0.98, 0.76, 0.18, 1);
    expectSRGB(yellow.resolve(dark), 1, 0.84, 0.04, 1);
    expectSRGB(yellow.opacity(0.5).resolve(dark), 1, 0.84, 0.04, 0.5);
    // Without a dark value the light one serves both.
    expectSRGB(Color("Plain", bundle).resolve(dark), 0, 1, 0, 0.5);
    EXPECT_GT(Color("Wide", bundle).resolve(light).red(), 1);

    // A catalogue colour is dynamic: no fixed components to store.
    EXPECT_FALSE(yellow.cgColor());
    EXPECT_FALSE(yellow.nsColor());
    EXPECT_EQ(yellow, Color("TrafficLightYellowColor", bundle));
    EXPECT_NE(yellow, Color("Plain", bundle));
    EXPECT_EQ(yellow.description(), "Color(\"TrafficLightYellowColor\")");
}

TEST_F(NamedColorTest, AMissingNameIsLoggedOnceAndDrawsClear) {
    const auto bundle = bundleWithTable(PropertyList::Dictionary{});
    testing::internal::CaptureStderr();
    const Color missing("NoSuchColor", bundle);
    const Color again("NoSuchColor", bundle);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("No colour named 'NoSuchColor'"), std::string::npos) << log;
    EXPECT_NE(log.find("Colors.plist"), std::string::npos) << log;
    EXPECT_EQ(log.find("NoSuchColor"), log.rfind("NoSuchColor")) << "logged twice: " << log;
    EXPECT_EQ(missing.resolve(light), Color::clear.resolve(light));
    EXPECT_EQ(missing.resolve(dark), Color::clear.resolve(dark));
}

TEST_F(NamedColorTest, DamagedEntriesAreLeftOutAndTheRestStays) {
    const auto bundle = bundleWithTable(PropertyList::Dictionary{
        {"Good", PropertyList::Dictionary{{"light", PropertyList::Array{0, 0, 1, 1}}}},
        {"Short", PropertyList::Dictionary{{"light", PropertyList::Array{0, 0, 1}}}},
        {"Words", PropertyList::Dictionary{{"light", PropertyList::Array{"red", 0, 0, 1}}}},
        {"Truth", PropertyList::Dictionary{{"light", PropertyList::Array{true, 0, 0, 1}}}},
        {"Space", PropertyList::Dictionary{{"colorSpace", "kNoSuchSpace"},
                                           {"light", PropertyList::Array{0, 0, 1, 1}}}},
        {"BadDark", PropertyList::Dictionary{{"light", PropertyList::Array{0, 0, 1, 1}}, {"dark", "black"}}},
        {"NoLight", PropertyList::Dictionary{{"dark", PropertyList::Array{0, 0, 1, 1}}}},
        {"Flat", "blue"},
    });
    testing::internal::CaptureStderr();
    const auto table = ui::NamedColorTable::forBundle(*bundle);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(table->find("Good"));
    for (const char* name : {"Short", "Words", "Truth", "Space", "BadDark", "NoLight", "Flat"}) {
        EXPECT_NE(log.find(std::string("'") + name + "'"), std::string::npos)
            << name << " not logged: " << log;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(table->find(name)) << name;
        testing::internal::GetCapturedStderr();
    }
    // Loaded once per bundle.
    EXPECT_EQ(ui::NamedColorTable::forBundle(*bundle), table);
}

TEST_F(NamedColorTest, ATableThatDoesNotParseReadsAsEmpty) {
    const auto bundle = bundleWithTable(std::string("<plist><dict><key>Broken"));
    testing::internal::CaptureStderr();
    const Color color("Broken", bundle);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("is ignored"), std::string::npos) << log;
    EXPECT_EQ(color.resolve(light), Color::clear.resolve(light));
}
