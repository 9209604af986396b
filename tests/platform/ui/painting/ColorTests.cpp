#include "ui/Color.h"
#include "ui/StyleContext.h"

#include <foundation/CodingError.h>
#include <foundation/JSONDecoder.h>
#include <foundation/JSONEncoder.h>
#include <foundation/KeyedArchiver.h>
#include <foundation/KeyedUnarchiver.h>
#include <graphics/CGColorSpace.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using ui::Color;
using ui::ColorScheme;
using ui::GradientColorSpace;
using ui::StyleContext;

static_assert(foundation::Codable<Color::Resolved>);

namespace ui {
void PrintTo(const Color& color, std::ostream* out) {
    *out << color.description();
}
} // namespace ui

namespace {

const StyleContext light{};
const StyleContext dark{.colorScheme = ColorScheme::dark};

void expectSRGB(const Color::Resolved& resolved, double red, double green, double blue, double opacity) {
    EXPECT_NEAR(resolved.red(), red, 1e-4);
    EXPECT_NEAR(resolved.green(), green, 1e-4);
    EXPECT_NEAR(resolved.blue(), blue, 1e-4);
    EXPECT_NEAR(resolved.opacity, opacity, 1e-6);
}

const std::vector<Color>& systemColors() {
    static const std::vector<Color> colors{
        Color::red,  Color::orange,  Color::yellow,    Color::green,      Color::mint, Color::teal,
        Color::cyan, Color::blue,    Color::indigo,    Color::purple,     Color::pink, Color::brown,
        Color::gray, Color::primary, Color::secondary, Color::accentColor};
    return colors;
}

} // namespace

TEST(ColorTest, SystemColoursFollowTheSchemeAndDrawInTheDarkAsNSColorDoes) {
    for (const Color& color : systemColors()) {
        SCOPED_TRACE(color.description());
        EXPECT_NE(color.resolve(light), color.resolve(dark));
        EXPECT_FALSE(color.cgColor());
        const auto ns = color.nsColor();
        ASSERT_TRUE(ns);
        EXPECT_TRUE(ns->isSystemColor());
        EXPECT_EQ(Color(*ns), color);
        const auto drawn = Color(ns->resolved()).resolve(light);
        const auto own = color.resolve(dark);
        EXPECT_NEAR(drawn.linearRed, own.linearRed, 1e-6);
        EXPECT_NEAR(drawn.linearGreen, own.linearGreen, 1e-6);
        EXPECT_NEAR(drawn.linearBlue, own.linearBlue, 1e-6);
        EXPECT_NEAR(drawn.opacity, own.opacity, 1e-6);
    }
    // Text colours swap brightness between the schemes.
    EXPECT_LT(Color::primary.resolve(light).red(), 0.1);
    EXPECT_GT(Color::primary.resolve(dark).red(), 0.9);
}

TEST(ColorTest, FixedColoursAreTheSameInBothSchemes) {
    for (const Color& color : {Color::black, Color::white, Color::clear, Color(0.2, 0.4, 0.6)}) {
        SCOPED_TRACE(color.description());
        EXPECT_EQ(color.resolve(light), color.resolve(dark));
        EXPECT_TRUE(color.cgColor());
    }
    expectSRGB(Color::white.resolve(dark), 1, 1, 1, 1);
    expectSRGB(Color::clear.resolve(dark), 0, 0, 0, 0);
    expectSRGB(Color(0.2, 0.4, 0.6, 0.8).resolve(light), 0.2, 0.4, 0.6, 0.8);
    // Out-of-range and NaN components are clamped rather than kept.
    expectSRGB(Color(1.5, -1, NAN, 2).resolve(light), 1, 0, 0, 1);
}

TEST(ColorTest, ManyColoursResolvedInTurnEachKeepTheirOwnValue) {
    // Conversions are kept for the last few colours: more colours than are kept, asked in turn
    // and again out of order, must each come back as themselves.
    std::vector<Color> colours;
    for (int i = 0; i < 12; ++i)
        colours.push_back(Color(i / 11.0, 1 - i / 11.0, 0.5, 1));
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 12; ++i) {
            const int at = round == 0 ? i : (i * 5) % 12;
            const QColor shown = colours[std::size_t(at)].resolve(light).toQColor();
            EXPECT_EQ(shown.red(), qRound(at / 11.0 * 255)) << at;
            EXPECT_EQ(shown.green(), qRound((1 - at / 11.0) * 255)) << at;
        }
    }
}

TEST(ColorTest, EqualityComparesWhatTheColourIsMadeOf) {
    EXPECT_EQ(Color(), Color::clear);
    EXPECT_EQ(Color(1, 0, 0), Color(Color::RGBColorSpace::sRGB, 1, 0, 0, 1));
    EXPECT_NE(Color(1, 0, 0), Color(Color::RGBColorSpace::displayP3, 1, 0, 0, 1));
    EXPECT_NE(Color(1, 0, 0), Color::red);
    EXPECT_NE(Color::red, Color::orange);
    EXPECT_EQ(Color::red.opacity(0.5), Color::red.opacity(0.5));
    EXPECT_NE(Color::red.opacity(0.5), Color::red);
    EXPECT_EQ(Color::white.opacity(0.5), Color(1, 1, 1, 0.5));
    EXPECT_EQ(Color::red.mix(Color::blue, 0.3), Color::red.mix(Color::blue, 0.3));
    EXPECT_NE(Color::red.mix(Color::blue, 0.3), Color::red.mix(Color::blue, 0.3, GradientColorSpace::device));
    EXPECT_NE(Color::red.mix(Color::blue, 0.3), Color::red.mix(Color::blue, 0.4));
    EXPECT_NE(Color::accentColor, Color::blue);
}

TEST(ColorTest, OpacityMultipliesAndIsClamped) {
    EXPECT_EQ(Color::white.opacity(0.5).cgColor()->alpha(), 0.5);
    EXPECT_EQ(Color::white.opacity(0.5).opacity(0.5).cgColor()->alpha(), 0.25);
    EXPECT_EQ(Color::white.opacity(2), Color::white);
    EXPECT_EQ(Color::white.opacity(-1).cgColor()->alpha(), 0);
    EXPECT_EQ(Color::white.opacity(NAN).cgColor()->alpha(), 0);

    const Color faint = Color::secondary.opacity(0.1);
    EXPECT_FALSE(faint.cgColor());
    EXPECT_NEAR(faint.resolve(light).opacity, Color::secondary.resolve(light).opacity * 0.1, 1e-6);
    EXPECT_NEAR(faint.resolve(dark).opacity, Color::secondary.resolve(dark).opacity * 0.1, 1e-6);
}

TEST(ColorTest, MixBlendsInTheChosenSpace) {
    // Oklab lightness 0.2 is linear 0.008, a dark grey; the device blend is sRGB 0.2.
    const Color perceptual = Color::black.mix(Color::white, 0.2, GradientColorSpace::perceptual);
    ASSERT_TRUE(perceptual.cgColor());
    expectSRGB(perceptual.resolve(light), 0.0861, 0.0861, 0.0861, 1);
    expectSRGB(Color::black.mix(Color::white, 0.2, GradientColorSpace::device).resolve(light), 0.2, 0.2, 0.2,
               1);

    // The ends, and fractions past them.
    expectSRGB(Color(0.2, 0.4, 0.6).mix(Color::white, 0).resolve(light), 0.2, 0.4, 0.6, 1);
    expectSRGB(Color(0.2, 0.4, 0.6).mix(Color::white, 1).resolve(light), 1, 1, 1, 1);
    expectSRGB(Color(0.2, 0.4, 0.6).mix(Color::white, 7).resolve(light), 1, 1, 1, 1);
    expectSRGB(Color(0.2, 0.4, 0.6).mix(Color::white, NAN).resolve(light), 0.2, 0.4, 0.6, 1);

    // Premultiplied: fading to clear keeps the colour and lowers the opacity.
    expectSRGB(Color::white.mix(Color::clear, 0.5, GradientColorSpace::device).resolve(light), 1, 1, 1, 0.5);
    expectSRGB(Color(1, 0, 0).mix(Color::clear, 0.5).resolve(light), 1, 0, 0, 0.5);
}

TEST(ColorTest, MixOfADynamicColourResolvesInEachScheme) {
    const Color mixed = Color::primary.mix(Color::white, 0.5, GradientColorSpace::device);
    EXPECT_FALSE(mixed.cgColor());
    EXPECT_FALSE(mixed.nsColor());
    const auto l = mixed.resolve(light);
    const auto d = mixed.resolve(dark);
    EXPECT_LT(l.red(), 0.7);
    EXPECT_NEAR(d.red(), 1, 1e-4);
}

TEST(ColorTest, AccentColourComesFromTheContext) {
    EXPECT_EQ(Color::accentColor.resolve(light), Color::blue.resolve(light));
    EXPECT_EQ(Color::accentColor.resolve(dark), Color::blue.resolve(dark));
    const StyleContext red{.accentColor = Color::red};
    EXPECT_EQ(Color::accentColor.resolve(red), Color::red.resolve(light));
    EXPECT_NEAR(Color::accentColor.opacity(0.5).resolve(red).opacity, 0.5, 1e-6);
    // An accent that names the accent colour falls back to the system accent instead of looping.
    const StyleContext itself{.accentColor = Color::accentColor.opacity(0.5)};
    EXPECT_NEAR(Color::accentColor.resolve(itself).opacity, 0.5, 1e-6);
}

TEST(ColorTest, ResolvedCodesToJSONByItsLinearComponents) {
    const Color::Resolved p3Red = Color(Color::RGBColorSpace::displayP3, 1, 0, 0, 0.75).resolve(light);
    // Wider than sRGB: the linear components leave [0, 1] and survive the trip.
    EXPECT_GT(p3Red.linearRed, 1);
    EXPECT_LT(p3Red.linearGreen, 0);

    const auto data = foundation::JSONEncoder().encode(p3Red);
    const std::string text(data.begin(), data.end());
    for (const char* key : {"\"linearRed\"", "\"linearGreen\"", "\"linearBlue\"", "\"opacity\""})
        EXPECT_NE(text.find(key), std::string::npos) << text;
    EXPECT_EQ(foundation::JSONDecoder().decode<Color::Resolved>(text), p3Red);

    const Color::Resolved half = Color::white.opacity(0.5).resolve(light);
    EXPECT_EQ(foundation::JSONDecoder().decode<Color::Resolved>(
                  std::string(R"({"linearRed":1,"linearGreen":1,"linearBlue":1,"opacity":0.5})")),
              half);
    EXPECT_THROW(foundation::JSONDecoder().decode<Color::Resolved>(std::string(R"({"linearRed":1})")),
                 foundation::DecodingError);
    EXPECT_THROW(foundation::JSONDecoder().decode<Color::Resolved>(
                     std::string(R"({"linearRed":"1","linearGreen":1,"linearBlue":1,"opacity":1})")),
                 foundation::DecodingError);

    // Back to a colour and to the screen.
    EXPECT_EQ(Color(p3Red).resolve(dark), p3Red);
    const QColor shown = p3Red.toQColor();
    EXPECT_EQ(shown.red(), 255);
    EXPECT_EQ(shown.green(), 0);
    EXPECT_NEAR(shown.alphaF(), 0.75, 0.01);
    expectSRGB(Color::Resolved(Color::RGBColorSpace::sRGB, 0.2f, 0.4f, 0.6f, 0.8f), 0.2, 0.4, 0.6, 0.8);
}

TEST(ColorTest, CGColorsRoundTripAndKeepTheirSpace) {
    using graphics::CGColorSpace;
    const auto p3 = graphics::CGColor::create(*CGColorSpace::withName(graphics::kCGColorSpaceDisplayP3),
                                              std::vector<graphics::CGFloat>{1, 0.5, 0, 0.75});
    const auto gray = graphics::CGColor::gray(0.25, 0.5);
    for (const auto& cg : {*p3, gray, graphics::CGColor::sRGB(0.1, 0.2, 0.3)}) {
        SCOPED_TRACE(std::string(cg.colorSpace().name()));
        const Color color(cg);
        ASSERT_TRUE(color.cgColor());
        EXPECT_EQ(*color.cgColor(), cg);
        EXPECT_EQ(Color(*color.nsColor()), color);
    }
    const Color shadow(Color::RGBColorSpace::sRGBLinear, 0, 0.33);
    EXPECT_EQ(shadow.cgColor()->colorSpace().name(), graphics::kCGColorSpaceLinearSRGB);
    EXPECT_EQ(shadow.cgColor()->components(), (std::vector<graphics::CGFloat>{0, 0, 0, 0.33}));
    EXPECT_EQ(Color(0.2, 0.4, 0.6, 1).cgColor()->colorSpace().name(), graphics::kCGColorSpaceSRGB);
}

TEST(ColorTest, SystemColoursTravelAsNamedNSColorsThroughArchives) {
    for (const Color& color : {Color::red, Color::accentColor, Color(0.2, 0.4, 0.6, 0.5)}) {
        SCOPED_TRACE(color.description());
        const auto data = foundation::KeyedArchiver::archivedData(*color.nsColor(), true);
        const auto back = foundation::KeyedUnarchiver::unarchivedObject<graphics::NSColor>(data);
        ASSERT_TRUE(back);
        EXPECT_EQ(Color(*back), color);
    }
    // NSColor has no system colour at an opacity of its own.
    EXPECT_FALSE(Color::primary.opacity(0.5).nsColor());
}
