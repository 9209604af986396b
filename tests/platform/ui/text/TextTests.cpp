#include "ui/EnvironmentKeys.h"
#include "ui/Text.h"
#include "ui/TextEnvironment.h"

#include "foundation/Bundle.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ui::Font;
using ui::LocalizedStringKey;
using ui::Text;

namespace {

// A bundle whose German table translates a few keys; the texts are looked up in German.
struct TextTest : ::testing::Test {
    void SetUp() override {
        const auto strings = folder.path() / "Resources" / "de.lproj" / "Localizable.strings";
        std::filesystem::create_directories(strings.parent_path());
        const auto data = foundation::PropertyListSerialization::data(
            foundation::PropertyList::Dictionary{
                {"Last checked: %@", "Zuletzt **geprüft**: %@"},
                {"**Goals**", "**Ziele**"},
                {"Read [more](https://example.org/more)", "[Mehr](https://example.org/mehr) lesen"}},
            foundation::PropertyListFormat::xml);
        std::ofstream(strings, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        context.bundle = foundation::Bundle::withPath(folder.path());
        ASSERT_TRUE(context.bundle);
    }

    testing_support::TemporaryFolder folder;
    testing_support::ScopedEnvironment language{"LANGUAGE", "de"}, all{"LC_ALL", nullptr};
    ui::TextContext context;
};

} // namespace

TEST_F(TextTest, KeysAreLookedUpFormattedAndReadAsMarkdownButVerbatimTextIsNot) {
    const auto runs = Text("**Goals**").resolve(context);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, "Ziele");
    EXPECT_EQ(runs[0].font.weight(), QFont::Bold);

    EXPECT_EQ(Text::verbatim("**Goals**").string(context), "**Goals**");
    EXPECT_EQ(Text(std::string("**Goals**")).string(context), "**Goals**") << "a string value is verbatim";
    EXPECT_EQ(Text(LocalizedStringKey(std::string("**Goals**"))).string(context), "Ziele");
    EXPECT_EQ(Text("Unknown *key*").string(context), "Unknown key") << "no translation: the key";

    // The argument lands as it is, even when it looks like markdown.
    const Text checked(LocalizedStringKey::StringInterpolation()
                           .appendLiteral("Last checked: ")
                           .appendInterpolation("*4. Mai*"));
    const auto formatted = checked.resolve(context);
    ASSERT_EQ(formatted.size(), 3u);
    EXPECT_EQ(formatted[0].text, "Zuletzt ");
    EXPECT_EQ(formatted[1].text, "geprüft");
    EXPECT_EQ(formatted[1].font.weight(), QFont::Bold);
    EXPECT_EQ(formatted[2].text, ": *4. Mai*");
    EXPECT_EQ(formatted[2].font.weight(), QFont::Normal);
}

TEST_F(TextTest, LinksCarryTheirAddressAndTheLinkColour) {
    context.foregroundColor = Qt::darkGray;
    context.linkColor = Qt::red;
    const auto runs = Text("Read [more](https://example.org/more)").resolve(context);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "Mehr");
    EXPECT_EQ(runs[0].link, foundation::URL::fromString("https://example.org/mehr"));
    EXPECT_EQ(runs[0].foregroundColor, QColor(Qt::red));
    EXPECT_EQ(runs[1].text, " lesen");
    EXPECT_FALSE(runs[1].link);
    EXPECT_EQ(runs[1].foregroundColor, QColor(Qt::darkGray));

    const auto broken = Text("[title]() and [x](not a url)").resolve(context);
    for (const auto& run : broken)
        EXPECT_FALSE(run.link) << run.text;
}

TEST_F(TextTest, ConcatenationKeepsEachSegmentsOwnAttributes) {
    const Text text = (Text::verbatim("Title ").font(Font::custom("DejaVu Serif", 20)).italic() +
                       Text::verbatim("body") + Text::verbatim(" red").foregroundColor(QColor(Qt::red)))
                          .font(Font::footnote())
                          .foregroundColor(QColor(Qt::blue))
                          .underline();
    const auto runs = text.resolve(context);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(QFontInfo(runs[0].font).family(), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(runs[0].font.pointSizeF(), 20);
    EXPECT_TRUE(runs[0].font.italic());
    EXPECT_EQ(QFontInfo(runs[1].font).family(), "DejaVu Sans");
    EXPECT_DOUBLE_EQ(runs[1].font.pointSizeF(), 10);
    EXPECT_FALSE(runs[1].font.italic());
    EXPECT_EQ(runs[1].foregroundColor, QColor(Qt::blue));
    EXPECT_EQ(runs[2].foregroundColor, QColor(Qt::red)) << "the inner colour wins";
    for (const auto& run : runs)
        EXPECT_TRUE(run.underline);

    // Runs that end up alike are one run; the environment's font fills in where none is set.
    context.font = Font::title();
    const auto merged = (Text() + Text::verbatim("a") + Text::verbatim("b")).resolve(context);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].text, "ab");
    EXPECT_DOUBLE_EQ(merged[0].font.pointSizeF(), 22);
    EXPECT_TRUE(Text().resolve(context).empty());
}

TEST_F(TextTest, TextCaseChangesWhatIsShown) {
    context.textCase = ui::TextCase::uppercase;
    EXPECT_EQ((Text::verbatim("straße ") + Text("**Goals**")).string(context), "STRASSE ZIELE");
    context.textCase = ui::TextCase::lowercase;
    EXPECT_EQ(Text::verbatim("ÄB").string(context), "äb");
}

TEST_F(TextTest, TheLocaleWritesNumbersInArgumentsButLeavesTextAlone) {
    const Text progress(LocalizedStringKey::StringInterpolation()
                            .appendInterpolation(2.5, "%.1f")
                            .appendLiteral(" of ")
                            .appendInterpolation(-3)
                            .appendLiteral(" in ")
                            .appendInterpolation("v1.2"));
    EXPECT_EQ(progress.string(context), "2.5 of -3 in v1.2") << "as in C without a locale";

    ui::EnvironmentValues environment;
    environment.set<ui::LocaleKey>(QLocale(QLocale::German, QLocale::Germany));
    auto german = ui::textContext(environment);
    EXPECT_EQ(progress.string(german), "2,5 of -3 in v1.2");

    german.locale = QLocale(QLocale::Arabic, QLocale::Egypt);
    const auto arabic = QString::fromStdString(progress.string(german));
    EXPECT_TRUE(arabic.startsWith(QString::fromUtf8("٢"))) << arabic.toStdString();
    EXPECT_TRUE(arabic.endsWith("v1.2"));
}
