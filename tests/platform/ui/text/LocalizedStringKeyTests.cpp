#include "ui/LocalizedStringKey.h"

#include "foundation/Bundle.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ui::LocalizedStringKey;
using Arguments = std::vector<LocalizedStringKey::Argument>;

TEST(LocalizedStringKeyTest, InterpolationBuildsTheKeyAndItsArguments) {
    const LocalizedStringKey checked = LocalizedStringKey::StringInterpolation()
                                           .appendLiteral("Last checked: ")
                                           .appendInterpolation("May 4, 2026");
    EXPECT_EQ(checked.key(), "Last checked: %@");
    EXPECT_EQ(checked.arguments(), Arguments{std::string("May 4, 2026")});

    const LocalizedStringKey percent = LocalizedStringKey::StringInterpolation()
                                           .appendLiteral("")
                                           .appendInterpolation(49.6, "%.0f")
                                           .appendLiteral("%");
    EXPECT_EQ(percent.key(), "%.0f%%");
    EXPECT_EQ(ui::formatLocalizedString(percent.key(), percent.arguments()), "50%");

    const LocalizedStringKey count =
        LocalizedStringKey::StringInterpolation().appendInterpolation(3).appendLiteral(" goals");
    EXPECT_EQ(count.key(), "%lld goals");
    EXPECT_EQ(LocalizedStringKey("50%").key(), "50%") << "a literal is the key as written";
}

TEST(LocalizedStringKeyTest, FormatsSpecifiersAndKeepsWhatItCannotFill) {
    using ui::formatLocalizedString;
    const Arguments two{std::string("Anna"), std::int64_t(7)};
    EXPECT_EQ(formatLocalizedString("%@ has %lld", two), "Anna has 7");
    EXPECT_EQ(formatLocalizedString("%2$ld for %1$@", two), "7 for Anna");
    EXPECT_EQ(formatLocalizedString("%@ %d %@", two), "Anna 7 %@") << "no third argument";
    EXPECT_EQ(formatLocalizedString("100%% of %@", two), "100% of Anna");
    EXPECT_EQ(formatLocalizedString("%5.1f|%-4d|%03lld", {2.25, std::int64_t(5), std::int64_t(9)}),
              "  2.2|5   |009");
    EXPECT_EQ(formatLocalizedString("%@ and %@", {0.5, std::int64_t(-2)}), "0.5 and -2");
    EXPECT_EQ(formatLocalizedString("%d", {std::string("text")}), "text") << "another kind shows as text";
    EXPECT_EQ(formatLocalizedString("%0$@ %s %", two), "%0$@ %s %") << "no specifiers we know";
    EXPECT_EQ(formatLocalizedString("%lld", {std::nan("")}), "nan");
}

TEST(LocalizedStringKeyTest, LooksUpTheTranslationThenFormatsIt) {
    testing_support::TemporaryFolder folder;
    const auto strings = folder.path() / "Resources" / "de.lproj" / "Localizable.strings";
    std::filesystem::create_directories(strings.parent_path());
    const auto data = foundation::PropertyListSerialization::data(
        foundation::PropertyList::Dictionary{{"Last checked: %@", "Zuletzt geprüft: %@"}, {"Goals", "Ziele"}},
        foundation::PropertyListFormat::xml);
    std::ofstream(strings, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    const auto bundle = foundation::Bundle::withPath(folder.path());
    ASSERT_TRUE(bundle);

    testing_support::ScopedEnvironment language("LANGUAGE", "de"), all("LC_ALL", nullptr);
    const LocalizedStringKey checked = LocalizedStringKey::StringInterpolation()
                                           .appendLiteral("Last checked: ")
                                           .appendInterpolation("4. Mai 2026");
    EXPECT_EQ(checked.resolve(*bundle), "Zuletzt geprüft: 4. Mai 2026");
    EXPECT_EQ(LocalizedStringKey("Goals").resolve(*bundle), "Ziele");
    EXPECT_EQ(LocalizedStringKey("Goals").resolve(*bundle, "Other"), "Goals") << "another table has none";
    const LocalizedStringKey untranslated =
        LocalizedStringKey::StringInterpolation().appendInterpolation(2).appendLiteral(" left");
    EXPECT_EQ(untranslated.resolve(*bundle), "2 left") << "the key, formatted";
}
