#include "ui/Font.h"
#include "ui/FontContext.h"
#include "ui/FontFamilies.h"

#include <QFont>
#include <QFontInfo>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>

using ui::Font;

namespace {

QFont resolved(const Font& font, ui::FontContext context = {}) {
    return font.resolve(context);
}
std::string family(const QFont& font) {
    return QFontInfo(font).family().toStdString();
}

bool hasRoundedFamily() {
    const auto families = ui::availableFontFamilies();
    return std::any_of(families.begin(), families.end(), [](const std::string& f) {
        return QString::fromStdString(f).contains("Rounded", Qt::CaseInsensitive);
    });
}

} // namespace

TEST(FontTest, TextStylesHaveTheirSizesAndWeights) {
    EXPECT_DOUBLE_EQ(resolved(Font::body()).pointSizeF(), 13);
    EXPECT_DOUBLE_EQ(resolved(Font::largeTitle()).pointSizeF(), 26);
    EXPECT_DOUBLE_EQ(resolved(Font::footnote()).pointSizeF(), 10);
    EXPECT_EQ(resolved(Font::body()).weight(), QFont::Normal);
    EXPECT_EQ(resolved(Font::headline()).weight(), QFont::Bold);
    EXPECT_EQ(family(resolved(Font::body())), "DejaVu Sans");
    EXPECT_EQ(Font::body().textStyle(), Font::TextStyle::body);
    EXPECT_FALSE(Font::system(12).textStyle());
}

TEST(FontTest, WeightsAndBoldPickTheFacesOfTheFamily) {
    EXPECT_EQ(resolved(Font::body().weight(Font::Weight::ultraLight)).weight(), QFont::Thin);
    EXPECT_EQ(resolved(Font::body().weight(Font::Weight::semibold)).weight(), QFont::DemiBold);
    EXPECT_EQ(resolved(Font::body().weight(Font::Weight::black)).weight(), QFont::Black);
    EXPECT_EQ(resolved(Font::headline().weight(Font::Weight::regular)).weight(), QFont::Normal);

    const QFont bold = resolved(Font::body().bold());
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_TRUE(QFontInfo(bold).bold());
    EXPECT_FALSE(QFontInfo(resolved(Font::body())).bold());
    EXPECT_TRUE(QFontInfo(resolved(Font::footnote().weight(Font::Weight::semibold).italic())).italic());
    EXPECT_EQ(Font::body().bold(), Font::body().weight(Font::Weight::bold));
    EXPECT_NE(Font::body().bold(), Font::body());
}

TEST(FontTest, DesignsChooseTheirFamilies) {
    EXPECT_EQ(family(resolved(Font::system(Font::TextStyle::body, Font::Design::serif))), "DejaVu Serif");
    EXPECT_EQ(family(resolved(Font::system(14, Font::Weight::regular, Font::Design::monospaced))),
              "DejaVu Sans Mono");
    EXPECT_EQ(family(resolved(Font::caption().monospaced())), "DejaVu Sans Mono");

    const auto rounded = family(resolved(Font::system(13, Font::Weight::medium, Font::Design::rounded)));
    if (hasRoundedFamily())
        EXPECT_NE(rounded.find("Round"), std::string::npos);
    else
        EXPECT_EQ(rounded, "DejaVu Sans") << "no rounded face: the default design";

    // The environment's design reaches system fonts that name none, and nothing else.
    const ui::FontContext serifContext{.design = Font::Design::serif};
    EXPECT_EQ(family(resolved(Font::body(), serifContext)), "DejaVu Serif");
    EXPECT_EQ(family(resolved(Font::system(12, Font::Weight::medium), serifContext)), "DejaVu Serif");
    EXPECT_EQ(family(resolved(Font::system(Font::TextStyle::body, Font::Design::monospaced), serifContext)),
              "DejaVu Sans Mono");
    EXPECT_EQ(family(resolved(Font::custom("DejaVu Sans", 12), serifContext)), "DejaVu Sans");
}

TEST(FontTest, CustomFontsByFamilyOrFaceNameAndTheirFallback) {
    const QFont serif = resolved(Font::custom("DejaVu Serif", 15));
    EXPECT_EQ(family(serif), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(serif.pointSizeF(), 15);
    EXPECT_EQ(family(resolved(Font::custom("Dejavu Serif", 15))), "DejaVu Serif") << "stored capitalised";
    EXPECT_EQ(family(resolved(Font::custom("  dejavu serif ", 15))), "DejaVu Serif");

    const QFont face = resolved(Font::custom("DejaVuSerif-Bold", 15));
    EXPECT_EQ(family(face), "DejaVu Serif");
    EXPECT_TRUE(QFontInfo(face).bold());
    const QFont oblique = resolved(Font::custom("DejaVu Sans Bold Oblique", 9));
    EXPECT_EQ(QFontInfo(oblique).styleName(), "Bold Oblique");
    EXPECT_TRUE(oblique.italic());
    EXPECT_EQ(oblique.weight(), QFont::Bold);

    for (const char* name : {"", ".HiddenSystemFont", "No Such Family"}) {
        const QFont fallback = resolved(Font::custom(name, 17));
        EXPECT_EQ(family(fallback), "DejaVu Sans") << name;
        EXPECT_DOUBLE_EQ(fallback.pointSizeF(), 17) << name;
    }
    EXPECT_DOUBLE_EQ(resolved(Font::custom("DejaVu Serif", -3)).pointSizeF(), 13)
        << "a bad size gives the body size";
    EXPECT_DOUBLE_EQ(resolved(Font::system(std::nan(""))).pointSizeF(), 13);
}

TEST(FontTest, SizeCategoriesScaleStylesAndCustomFontsButNotFixedSizes) {
    const ui::FontContext large{.sizeCategory = ui::ContentSizeCategory::extraExtraLarge};
    EXPECT_DOUBLE_EQ(resolved(Font::body(), large).pointSizeF(), 13 * 21.0 / 17);
    EXPECT_DOUBLE_EQ(resolved(Font::custom("DejaVu Serif", 17), large).pointSizeF(), 21);
    EXPECT_DOUBLE_EQ(resolved(Font::system(20), large).pointSizeF(), 20);
    const QFont fixed = resolved(Font::custom("DejaVu Serif", Font::FixedSize{17}), large);
    EXPECT_DOUBLE_EQ(fixed.pointSizeF(), 17);
    EXPECT_EQ(family(fixed), "DejaVu Serif");
    EXPECT_NE(Font::custom("DejaVu Serif", Font::FixedSize{17}), Font::custom("DejaVu Serif", 17));
}

TEST(FontTest, FamiliesListInstalledFacesWithoutGenericAliases) {
    const auto families = ui::availableFontFamilies();
    auto has = [&](const char* name) {
        return std::find(families.begin(), families.end(), name) != families.end();
    };
    EXPECT_TRUE(has("DejaVu Sans"));
    EXPECT_TRUE(has("DejaVu Serif"));
    EXPECT_FALSE(has("Sans Serif"));
    EXPECT_FALSE(has("Monospace"));
}

TEST(FontTest, WidgetsShowAFontAsLargeAsTheLayersTextWhateverTheScreensDensity) {
    QLineEdit field;
    field.setFont(Font::body().resolveForWidget({}));
    EXPECT_EQ(QFontInfo(field.font()).pixelSize(), 13);
    field.setFont(Font::system(20.4).resolveForWidget({}));
    EXPECT_EQ(QFontInfo(field.font()).pixelSize(), 20);
    EXPECT_EQ(Font::body().resolveForWidget({}).family(), Font::body().resolve({}).family());
}
