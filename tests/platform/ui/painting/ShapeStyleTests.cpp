#include "ui/AnyShapeStyle.h"
#include "ui/Gradient.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/ShapeStyle.h"
#include "ui/StyleContext.h"
#include "ui/TintShapeStyle.h"

#include <gtest/gtest.h>

using ui::AnyShapeStyle;
using ui::Color;
using ui::HierarchicalShapeStyle;
using ui::StyleContext;
using ui::TintShapeStyle;

static_assert(ui::ShapeStyle<Color>);
static_assert(ui::ShapeStyle<TintShapeStyle>);
static_assert(ui::ShapeStyle<HierarchicalShapeStyle>);
static_assert(ui::ShapeStyle<ui::LinearGradient>);
static_assert(ui::ShapeStyle<ui::RadialGradient>);
static_assert(ui::ShapeStyle<ui::AngularGradient>);
static_assert(ui::ShapeStyle<AnyShapeStyle>);
static_assert(!ui::ShapeStyle<int>);

namespace {

const QRectF bounds(0, 0, 10, 10);

QColor colorOf(const ui::ShapeStyle auto& style, const StyleContext& context = {}) {
    const QBrush brush = style.brush(context, bounds);
    EXPECT_EQ(brush.style(), Qt::SolidPattern);
    return brush.color();
}

// A style of a caller's own, without ==.
struct Checkerboard {
    QBrush brush(const StyleContext&, const QRectF&) const { return QBrush(Qt::black, Qt::Dense4Pattern); }
};

} // namespace

TEST(ShapeStyleTest, AnyShapeStyleComparesWhatItWraps) {
    const AnyShapeStyle red = Color::red;
    EXPECT_EQ(red, AnyShapeStyle(Color::red));
    EXPECT_NE(red, AnyShapeStyle(Color::blue));
    EXPECT_NE(red, AnyShapeStyle(TintShapeStyle()));
    EXPECT_EQ(AnyShapeStyle(HierarchicalShapeStyle::secondary),
              AnyShapeStyle(HierarchicalShapeStyle::secondary));
    EXPECT_NE(AnyShapeStyle(HierarchicalShapeStyle::secondary),
              AnyShapeStyle(HierarchicalShapeStyle::primary));
    ASSERT_TRUE(red.as<Color>());
    EXPECT_EQ(*red.as<Color>(), Color::red);
    EXPECT_FALSE(red.as<TintShapeStyle>());

    const AnyShapeStyle own = Checkerboard();
    EXPECT_EQ(own, own);
    EXPECT_NE(own, AnyShapeStyle(Checkerboard()));
    EXPECT_EQ(own.brush({}, bounds).style(), Qt::Dense4Pattern);
}

TEST(ShapeStyleTest, OpacityOfAStyleFadesItsBrush) {
    EXPECT_NEAR(colorOf(Color::white, {.opacity = 0.5}).alphaF(), 0.5, 0.01);
    EXPECT_NEAR(colorOf(AnyShapeStyle(Color::white).opacity(0.5)).alphaF(), 0.5, 0.01);
    const AnyShapeStyle twice = AnyShapeStyle(Color::white).opacity(0.5).opacity(0.5);
    EXPECT_NEAR(colorOf(twice).alphaF(), 0.25, 0.01);
    EXPECT_EQ(twice, AnyShapeStyle(Color::white).opacity(0.25));
    EXPECT_NEAR(colorOf(AnyShapeStyle(Color::white).opacity(7)).alphaF(), 1, 0.01);
    EXPECT_EQ(colorOf(AnyShapeStyle(Color::white).opacity(-1)).alpha(), 0);
}

TEST(ShapeStyleTest, TintFallsBackToTheAccentColour) {
    const TintShapeStyle tint;
    EXPECT_EQ(colorOf(tint), Color::blue.resolve({}).toQColor());
    EXPECT_EQ(colorOf(tint, {.accentColor = Color::red}), Color::red.resolve({}).toQColor());
    EXPECT_EQ(colorOf(tint, {.accentColor = Color::red, .tint = Color::green}),
              Color::green.resolve({}).toQColor());
    const StyleContext dark{.colorScheme = ui::ColorScheme::dark, .tint = Color::green};
    EXPECT_EQ(colorOf(tint, dark), Color::green.resolve(dark).toQColor());
    EXPECT_NEAR(colorOf(tint.opacity(0.3), dark).alphaF(), 0.3, 0.01);
}

TEST(ShapeStyleTest, HierarchicalLevelsFollowTheForegroundStyle) {
    const StyleContext dark{.colorScheme = ui::ColorScheme::dark};
    EXPECT_EQ(colorOf(HierarchicalShapeStyle::primary, dark), Color::primary.resolve(dark).toQColor());
    EXPECT_EQ(colorOf(HierarchicalShapeStyle::secondary, dark), Color::secondary.resolve(dark).toQColor());
    EXPECT_EQ(colorOf(HierarchicalShapeStyle::secondary), Color::secondary.resolve({}).toQColor());

    const StyleContext red{.foregroundStyle = AnyShapeStyle(Color::red)};
    EXPECT_EQ(colorOf(HierarchicalShapeStyle::primary, red), Color::red.resolve({}).toQColor());
    const QColor secondary = colorOf(HierarchicalShapeStyle::secondary, red);
    EXPECT_EQ(secondary.rgb(), Color::red.resolve({}).toQColor().rgb());
    EXPECT_NEAR(secondary.alphaF(), HierarchicalShapeStyle::secondaryOpacity, 0.01);
    EXPECT_NEAR(colorOf(HierarchicalShapeStyle::primary.opacity(0.05), red).alphaF(), 0.05, 0.01);

    // A hierarchical foreground style means the default levels, not itself.
    const StyleContext nested{.foregroundStyle = AnyShapeStyle(HierarchicalShapeStyle::secondary)};
    EXPECT_EQ(colorOf(HierarchicalShapeStyle::primary, nested), Color::secondary.resolve({}).toQColor());
}
