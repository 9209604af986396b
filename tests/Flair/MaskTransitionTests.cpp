#include "TransitionTestSupport.h"

#include "Flair/BlindsTransition.h"
#include "Flair/ClockTransition.h"
#include "Flair/GlareTransition.h"
#include "Flair/RotatedBoundingSize.h"

#include "ui/Circle.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EnvironmentValues.h"

#include <QImage>

#include <cmath>
#include <limits>
#include <numbers>

using Flair::Blinds;
using Flair::BlindsShape;
using Flair::Clock;
using Flair::Glare;
using BlindsStyle = Flair::AnyTransition::Ostravelle::BlindsStyle;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;
using graphics::CGRect;

namespace {

constexpr double pi = std::numbers::pi;
const QColor cardColour(20, 60, 240);
const QColor backdrop(Qt::white);

// A solid card of `width` × `height` through `modifier`, rendered on white.
template <class M>
QImage masked(const M& modifier, double width, double height, ui::EnvironmentValues environment = {}) {
    ui::TestHost host(
        ui::View(ui::Color(20 / 255.0, 60 / 255.0, 240 / 255.0)).frame(width, height).modifier(modifier),
        {width, height}, std::move(environment));
    return host.render();
}

int countPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

ui::EnvironmentValues rightToLeft() {
    ui::EnvironmentValues environment;
    environment.set<ui::LayoutDirectionKey>(ui::LayoutDirection::rightToLeft);
    return environment;
}

int subpaths(const ui::Path& path) {
    return int(path.toQPainterPath().toSubpathPolygons().size());
}

} // namespace

TEST(BlindsTest, SlatsOpenAboutTheirCentreLinesAndCoverTheViewWhenOpen) {
    const CGRect square{{0, 0}, {100, 100}};
    EXPECT_EQ(subpaths(BlindsShape(10, BlindsStyle::venetian, 1, false).path(square)), 10);
    EXPECT_TRUE(BlindsShape(10, BlindsStyle::venetian, 0, false).path(square).isEmpty()) << "closed slats go";
    EXPECT_EQ(countPixels(masked(Blinds{10, BlindsStyle::venetian, false, 0}, 100, 100), backdrop),
              100 * 100);
    EXPECT_EQ(countPixels(masked(Blinds{10, BlindsStyle::venetian, false, 1}, 100, 100), cardColour),
              100 * 100);
    EXPECT_EQ(countPixels(masked(Blinds{12, BlindsStyle::vertical, true, 1}, 90, 70), cardColour), 90 * 70)
        << "the last slat overshoots the view";

    // Wherever the view is drawn, the slats start at its own edge.
    const BlindsShape open(10, BlindsStyle::venetian, 1, false);
    EXPECT_EQ(open.path(CGRect{{30, 23}, {90, 64}}), open.path(CGRect{{0, 0}, {90, 64}}).offsetBy(30, 23));
    const Clock::Circle wedge({1, 0}, ui::LayoutDirection::leftToRight);
    EXPECT_EQ(wedge.path(CGRect{{30, 23}, {90, 64}}), wedge.path(CGRect{{0, 0}, {90, 64}}).offsetBy(30, 23));
    ui::TestHost placed(ui::View(ui::Color(20 / 255.0, 60 / 255.0, 240 / 255.0))
                            .frame(90, 64)
                            .modifier(Blinds{10, BlindsStyle::venetian, false, 1})
                            .frame(150, 110),
                        {150, 110});
    EXPECT_EQ(countPixels(placed.render(), cardColour), 90 * 64);

    // Half open together: each slat shows its middle half.
    const ui::Path half = BlindsShape(10, BlindsStyle::vertical, 0.5, false).path(square);
    EXPECT_TRUE(half.contains({5, 50}));
    EXPECT_FALSE(half.contains({1, 50}));
    EXPECT_TRUE(half.contains({95, 99}));

    // Staggered halfway: the first slat is open, the last open by a tenth about its centre line.
    const BlindsShape staggered(10, BlindsStyle::venetian, 0.5, true);
    EXPECT_EQ(staggered.openness(0, 10), 1);
    EXPECT_NEAR(staggered.openness(9, 10), 0.1, 1e-12);
    const ui::Path stagger = staggered.path(square);
    EXPECT_TRUE(stagger.contains({50, 0.5}));
    EXPECT_TRUE(stagger.contains({50, 95}));
    EXPECT_FALSE(stagger.contains({50, 94}));
    EXPECT_FALSE(stagger.contains({50, 96}));

    // Right to left the vertical slats start at the right.
    const Blinds verticalHalf{10, BlindsStyle::vertical, true, 0.5};
    const QImage ltr = masked(verticalHalf, 100, 40);
    const QImage rtl = masked(verticalHalf, 100, 40, rightToLeft());
    EXPECT_EQ(ltr.pixelColor(3, 20), cardColour);
    EXPECT_EQ(ltr.pixelColor(96, 20), backdrop);
    EXPECT_EQ(rtl.pixelColor(96, 20), cardColour);
    EXPECT_EQ(rtl.pixelColor(3, 20), backdrop);
}

TEST(BlindsTest, FactoryClampsTheSlatWidthAndHugeOrEndlessExtentsAreSafe) {
    using flairtest::endsOf;
    for (double width : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), 4.9}) {
        const auto [active, identity] =
            endsOf<Blinds>(Ostravelle::blinds(width, BlindsStyle::vertical, true));
        EXPECT_EQ(active, (Blinds{5, BlindsStyle::vertical, true, 0})) << width;
        EXPECT_EQ(identity, (Blinds{5, BlindsStyle::vertical, true, 1})) << width;
    }
    EXPECT_EQ(endsOf<Blinds>(Ostravelle::blinds()).second, (Blinds{10, BlindsStyle::venetian, false, 1}));

    // The largest slat still shows the whole view when open.
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(endsOf<Blinds>(Ostravelle::blinds(largest, BlindsStyle::venetian, false)).first.slatWidth,
              largest);
    EXPECT_EQ(countPixels(masked(Blinds{largest, BlindsStyle::venetian, false, 1}, 60, 40), cardColour),
              60 * 40);

    // An endless extent has no slats (and does not stop the program).
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(
        BlindsShape(10, BlindsStyle::venetian, 1, false).path(CGRect{{0, 0}, {50, infinity}}).isEmpty());
    EXPECT_TRUE(
        BlindsShape(10, BlindsStyle::vertical, 1, true).path(CGRect{{0, 0}, {infinity, 50}}).isEmpty());

    // −0 hashes as +0.
    const std::hash<Blinds> hash;
    EXPECT_EQ(hash(Blinds{10, BlindsStyle::venetian, false, -0.0}),
              hash(Blinds{10, BlindsStyle::venetian, false, 0.0}));
    EXPECT_NE(hash(Blinds{10, BlindsStyle::venetian, false, 0}),
              hash(Blinds{10, BlindsStyle::vertical, false, 0}));
}

TEST(ClockTest, TheSweepStartsAndEndsAtTheCornersOfTheCellItsOriginLiesIn) {
    const CGRect r{{0, 0}, {100, 100}};
    struct Corner {
        double x, y;
    };
    const Corner topLeft{0, 0}, topRight{100, 0}, bottomLeft{0, 100}, bottomRight{100, 100};
    struct Case {
        ui::UnitPoint origin;
        Corner start, end;
    };
    const Case cases[] = {
        {{-0.5, -0.5}, topRight, bottomLeft}, {{-0.5, 0.5}, topLeft, bottomLeft},
        {{-0.5, 1.5}, topLeft, bottomRight},  {{1.5, -0.5}, bottomRight, topLeft},
        {{1.5, 0.5}, bottomRight, topRight},  {{1.5, 1.5}, bottomLeft, topRight},
        {{0.5, -0.5}, topRight, topLeft},     {{0.5, 1.5}, bottomLeft, bottomRight},
        {{0, 0}, topRight, bottomLeft},       {{1, 1}, bottomLeft, topRight},
    };
    for (const Case& c : cases) {
        const auto sweep = Clock::Circle(c.origin, ui::LayoutDirection::leftToRight).sweep(r);
        const double px = 100 * c.origin.x, py = 100 * c.origin.y;
        SCOPED_TRACE(testing::Message() << "origin " << c.origin.x << ", " << c.origin.y);
        EXPECT_DOUBLE_EQ(sweep.startAngle, std::atan2(c.start.y - py, c.start.x - px));
        EXPECT_DOUBLE_EQ(sweep.endAngle, std::atan2(c.end.y - py, c.end.x - px));
        EXPECT_DOUBLE_EQ(sweep.radius, std::hypot(100, 100) / 2 + std::hypot(px - 50, py - 50));
    }

    // Inside: a full turn from the top about the point.
    const auto centre = Clock::Circle(ui::UnitPoint::center, ui::LayoutDirection::leftToRight).sweep(r);
    EXPECT_EQ(centre.startAngle, -pi / 2);
    EXPECT_EQ(centre.endAngle, 3 * pi / 2);
    EXPECT_DOUBLE_EQ(centre.radius, 50 * std::sqrt(2.0));

    // Right of a rectangle lower down, the top test looks at 0, not at the rectangle's top.
    const CGRect lower{{0, 20}, {100, 100}};
    const auto right = Clock::Circle({1.5, -0.1}, ui::LayoutDirection::leftToRight).sweep(lower);
    EXPECT_DOUBLE_EQ(right.startAngle, std::atan2(120 - 10.0, 100 - 150.0)) << "towards the bottom right";
    EXPECT_DOUBLE_EQ(right.endAngle, std::atan2(20 - 10.0, 100 - 150.0)) << "towards the top right";

    // Right to left, an origin on the leading edge is on the right.
    const auto rtl = Clock::Circle({0, 0.5}, ui::LayoutDirection::rightToLeft).sweep(r);
    EXPECT_EQ(rtl.center.x, 100);
    EXPECT_DOUBLE_EQ(rtl.startAngle, std::atan2(50.0, 0.0)) << "bottom right";
    EXPECT_DOUBLE_EQ(rtl.endAngle, std::atan2(-50.0, 0.0)) << "top right";
}

TEST(ClockTest, TheWedgeGrowsFromNothingToTheWholeViewAndItsSoftEdgeGoes) {
    const auto at = [](double p, double blur, ui::UnitPoint origin = ui::UnitPoint::center,
                       ui::EnvironmentValues env = {}) {
        return masked(Clock{origin, {p, blur}}, 100, 100, env);
    };
    EXPECT_EQ(countPixels(at(0, 0), backdrop), 100 * 100);
    EXPECT_EQ(countPixels(at(0.12, 0), backdrop), 100 * 100) << "the trim still covers the radial line";
    const QImage quarter = at(0.4, 0);
    EXPECT_EQ(quarter.pixelColor(80, 20), cardColour) << "clockwise from the top";
    EXPECT_EQ(quarter.pixelColor(20, 20), backdrop);
    EXPECT_EQ(at(0.9, 0).pixelColor(40, 5), backdrop) << "the last sliver is left of the top";
    EXPECT_EQ(countPixels(at(0.96, 0), cardColour), 100 * 100) << "complete from p ≈ 0.952";
    EXPECT_NE(countPixels(at(0.96, 20), cardColour), 100 * 100) << "still soft before the end";
    EXPECT_EQ(countPixels(at(1, 20), cardColour), 100 * 100) << "the soft edge is gone at rest";

    // Right to left from the leading edge's middle: the right half shows first.
    const QImage rtl = at(0.5, 0, {0, 0.5}, rightToLeft());
    EXPECT_EQ(rtl.pixelColor(60, 20), backdrop);
    EXPECT_EQ(rtl.pixelColor(60, 80), cardColour) << "from the bottom right round towards the top right";

    const auto [active, identity] = flairtest::endsOf<Clock>(Ostravelle::clock());
    EXPECT_EQ(active.origin, ui::UnitPoint::center);
    EXPECT_EQ(active.animatableData, (ui::AnimatablePair<double, double>(0, 0)));
    EXPECT_EQ(identity.animatableData, (ui::AnimatablePair<double, double>(1, 0)));
    EXPECT_EQ(flairtest::endsOf<Clock>(Ostravelle::clock({0, 1}, 80)).first.animatableData.second, 80)
        << "the blur radius is taken as given";
}

TEST(GlareTest, AHardFrontRevealsTheViewAndTheBandLightsOnlyItsPixels) {
    EXPECT_EQ(Glare::bandBrightness(0, true), 4);
    EXPECT_EQ(Glare::bandBrightness(0.5, true), 0.5);
    EXPECT_EQ(Glare::bandBrightness(1, true), 0);
    EXPECT_EQ(Glare::bandBrightness(-0.5, true), 4);
    EXPECT_EQ(Glare::bandBrightness(0, false), 0);

    const ui::Color none = ui::Color::clear;
    EXPECT_EQ(
        countPixels(masked(Glare{0, ui::Angle::degrees(45), ui::Color::white, true}, 100, 60), backdrop),
        100 * 60);
    EXPECT_EQ(
        countPixels(masked(Glare{1, ui::Angle::degrees(45), ui::Color::white, true}, 100, 60), cardColour),
        100 * 60)
        << "fully shown, the band past the end";

    // At 0° the front of a half-way glare is at 0.8 of the width, and hard.
    const QImage front = masked(Glare{0.5, ui::Angle::zero(), none, false}, 200, 50);
    EXPECT_EQ(front.pixelColor(158, 25), cardColour);
    EXPECT_EQ(front.pixelColor(162, 25), backdrop);
    int ramp = 0;
    for (int x = 150; x < 170; ++x)
        ramp += front.pixelColor(x, 25) != cardColour && front.pixelColor(x, 25) != backdrop;
    EXPECT_LE(ramp, 1);

    // Over a round view on a green backdrop, the band shows only on the view's own pixels.
    const QColor green(0, 160, 0);
    ui::TestHost round(ui::ZStack({ui::View(ui::Color(0, 160 / 255.0, 0)),
                                   ui::Circle()
                                       .fill(ui::Color(20 / 255.0, 60 / 255.0, 240 / 255.0))
                                       .modifier(Glare{0.5, ui::Angle::zero(), ui::Color::white, false})})
                           .frame(100, 100),
                       {100, 100});
    const QImage lit = round.render();
    EXPECT_EQ(lit.pixelColor(65, 50), QColor(Qt::white)) << "the band over the view";
    EXPECT_EQ(lit.pixelColor(75, 5), green) << "beside the view, under the band";
    EXPECT_EQ(lit.pixelColor(81, 50), green) << "just ahead of the front";
    EXPECT_EQ(lit.pixelColor(30, 50), cardColour) << "behind the band";

    // The layers cover the view at the angle.
    const auto layerSizes = [](double angle, double w, double h) {
        ui::TestHost host(ui::View(ui::Color(0, 0, 1))
                              .frame(w, h)
                              .modifier(Glare{0.3, ui::Angle::radians(angle), ui::Color::white, true}),
                          {w, h});
        std::vector<graphics::CGSize> sizes;
        for (const ui::Element* e :
             host.findAll([](const ui::Element& e) { return e.node().typeName() == "Shape"; }))
            sizes.push_back(e->frame().size);
        return sizes;
    };
    const auto straight = layerSizes(0, 120, 80);
    EXPECT_EQ(straight.size(), 2U) << "the mask and the band";
    for (graphics::CGSize size : straight) {
        EXPECT_NEAR(size.width, 120, 1e-9);
        EXPECT_NEAR(size.height, 80, 1e-9);
    }
    const auto diagonal = layerSizes(pi / 4, 100, 100);
    ASSERT_EQ(diagonal.size(), 2U);
    for (graphics::CGSize size : diagonal) {
        EXPECT_NEAR(size.width, 141.42, 0.01);
        EXPECT_NEAR(size.height, 141.42, 0.01);
    }
}
