#include "foundation/Bundle.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

// Only LANGUAGE and LANG; the locale variables that would override LANG are unset.
struct LanguageEnvironment {
    explicit LanguageEnvironment(const char* language, const char* lang = nullptr)
        : language("LANGUAGE", language)
        , lcAll("LC_ALL", nullptr)
        , lcMessages("LC_MESSAGES", nullptr)
        , lang("LANG", lang) {}
    testing_support::ScopedEnvironment language, lcAll, lcMessages, lang;
};

void write(const fs::path& file, const Data& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// German (binary) with a Swiss variant and a second table, French (XML), English.
struct LocalizedStringTest : ::testing::Test {
    void SetUp() override {
        table("de", "Localizable", {{"Goals", "Ziele"}, {"Done", "Erledigt"}, {"Count", 3}},
              PropertyListFormat::binary);
        table("de_CH", "Localizable", {{"Colour", "Farb"}});
        table("de", "Menu", {{"Quit", "Beenden"}});
        table("fr", "Localizable", {{"Goals", "Objectifs"}});
        table("en", "Localizable", {{"Colour", "Color"}});
        bundle = Bundle::withPath(folder.path());
        ASSERT_TRUE(bundle);
    }
    void table(const std::string& language, const std::string& name, const PropertyList::Dictionary& strings,
               PropertyListFormat format = PropertyListFormat::xml) {
        write(resources() / (language + ".lproj") / (name + ".strings"),
              PropertyListSerialization::data(strings, format));
    }
    fs::path resources() const { return folder.path() / "Resources"; }

    testing_support::TemporaryFolder folder;
    std::shared_ptr<Bundle> bundle;
};

} // namespace

TEST_F(LocalizedStringTest, FollowsTheLanguageOrder) {
    {
        LanguageEnvironment env(nullptr, "de_DE.UTF-8@euro");
        EXPECT_EQ(bundle->localizedString("Goals"), "Ziele");
        EXPECT_EQ(bundle->localizedString("Quit", "", "Menu"), "Beenden");
        EXPECT_EQ(bundle->localizedString("Quit"), "Quit") << "another table";
    }
    {
        LanguageEnvironment env("fr:de", "it_IT.UTF-8");
        EXPECT_EQ(bundle->localizedString("Goals"), "Objectifs");
        EXPECT_EQ(bundle->localizedString("Done"), "Erledigt") << "French lacks it, German has it";
    }
    {
        LanguageEnvironment env("de_CH");
        EXPECT_EQ(bundle->localizedString("Colour"), "Farb");
        EXPECT_EQ(bundle->localizedString("Goals"), "Ziele") << "the region falls back to its language";
    }
    LanguageEnvironment env(nullptr, "C");
    EXPECT_EQ(bundle->localizedString("Goals"), "Goals");
    EXPECT_EQ(bundle->localizedString("Colour"), "Color");
}

TEST_F(LocalizedStringTest, MissingKeysFallBackToTheValueThenTheKey) {
    LanguageEnvironment env("de");
    EXPECT_EQ(bundle->localizedString("Unknown"), "Unknown");
    EXPECT_EQ(bundle->localizedString("Unknown", "Fallback"), "Fallback");
    EXPECT_EQ(bundle->localizedString("Goals", "Fallback"), "Ziele");
    EXPECT_EQ(bundle->localizedString("Goals", "", "Missing"), "Goals");
    EXPECT_EQ(bundle->localizedString("Count"), "Count") << "a number is no translation";
    EXPECT_EQ(bundle->localizedString("Goals", "", "../de.lproj/Localizable"), "Goals");
}

TEST_F(LocalizedStringTest, AnUnusableTableIsLoggedOnceAndEmpty) {
    write(resources() / "fr.lproj" / "Broken.strings", Data{'b', 'p', 'l', 'i', 's', 't', '0', '0'});
    write(
        resources() / "fr.lproj" / "List.strings",
        PropertyListSerialization::data(PropertyList::Array{"Goals", "Objectifs"}, PropertyListFormat::xml));
    LanguageEnvironment env("fr");
    testing::internal::CaptureStderr();
    EXPECT_EQ(bundle->localizedString("Goals", "", "Broken"), "Goals");
    EXPECT_EQ(bundle->localizedString("Goals", "Buts", "Broken"), "Buts");
    EXPECT_EQ(bundle->localizedString("Goals", "", "List"), "Goals");
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_NE(logged.find("Broken.strings"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("Broken.strings"), logged.rfind("Broken.strings")) << "read once: " << logged;
    EXPECT_NE(logged.find("List.strings"), std::string::npos) << logged;
}

TEST_F(LocalizedStringTest, ThreadsShareTheTables) {
    LanguageEnvironment env("fr:de");
    std::vector<int> wrong(8, 0);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < 200; ++i) {
                    if (bundle->localizedString("Goals") != "Objectifs") ++wrong[t];
                    if (bundle->localizedString("Quit", "", "Menu") != "Beenden") ++wrong[t];
                }
            });
    }
    EXPECT_EQ(wrong, std::vector<int>(8, 0));
}
