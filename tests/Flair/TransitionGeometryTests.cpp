#include "FlairTestSupport.h"

#include "Flair/Boing.h"
#include "Flair/Move.h"
#include "Flair/RotatedBoundingSize.h"
#include "Flair/Skid.h"
#include "Flair/SquishOffset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using Flair::Boing;
using Flair::Move;
using Flair::Skid;
using Flair::SquishOffset;
using flairtest::expectNear;
using flairtest::mapped;
using graphics::CGPoint;
using graphics::CGSize;
using graphics::ProjectionTransform;
using SkidDirection = Flair::AnyTransition::Ostravelle::SkidDirection;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double infinity = std::numeric_limits<double>::infinity();

Move moveBy(CGPoint translation) {
    Move move;
    move.animatableData.translation = {translation.x, translation.y, 0};
    return move;
}

// Height over width of the unit square's image: how the area changes.
double areaFactor(const ProjectionTransform& t) {
    return std::abs(t.m11 * t.m22 - t.m12 * t.m21);
}

} // namespace

TEST(MoveTest, AnAngleMovesTheViewOutByItsOwnSizeOppositeTheAngle) {
    struct Case {
        double angle;
        CGPoint translation;
    };
    for (Case c : {Case{0, {-1, 0}}, Case{pi / 4, {-1, -1}}, Case{pi / 2, {0, -1}}, Case{pi, {1, 0}},
                   Case{-pi / 2, {0, 1}}}) {
        // Corners come out of the square root of a difference near zero: good to about 1e-8.
        const CGPoint translation = Move::translation(c.angle);
        expectNear(translation, c.translation, 1e-7);
        const ProjectionTransform t = moveBy(translation).effectValue({200, 100});
        expectNear(t, ProjectionTransform(1, 0, 0, 0, 1, 0, c.translation.x * 200, c.translation.y * 100, 1),
                   1e-5);
    }
    expectNear(Move::translation(ui::Edge::leading), {-1, 0});
    expectNear(Move::translation(ui::Edge::bottom), {0, 1});
    EXPECT_EQ(Move().effectValue({200, 100}), ProjectionTransform::identity);
}

TEST(MoveTest, RotatesAndScalesAboutTheCentre) {
    Move move;
    move.animatableData.scale = {0.5, 2, 7};
    move.animatableData.rotation = {0, 0, std::sin(pi / 4), std::cos(pi / 4)}; // a quarter turn
    const ProjectionTransform t = move.effectValue({200, 100});
    EXPECT_TRUE(t.isAffine());
    expectNear(mapped(t, {100, 50}), {100, 50});
    // The corner (0, 0) is (−100, −50) from the centre: scaled to (−50, −100), turned to (100, −50).
    expectNear(mapped(t, {0, 0}), {200, 0});
}

TEST(SkidTest, LeansWhileFarAndStraightensOnArrival) {
    EXPECT_EQ((Skid{SkidDirection::leading, 1}.effectValue({200, 100})), ProjectionTransform::identity);

    const ProjectionTransform away = Skid{SkidDirection::leading, 0}.effectValue({200, 100});
    expectNear(away, ProjectionTransform(1, 0, 0, 0.5, 1, 0, -500, 0, 1));

    // From the other side with the opposite lean: o = −40, m = 240, k = −0.2.
    const ProjectionTransform trailing = Skid{SkidDirection::trailing, 0.9}.effectValue({200, 100});
    expectNear(trailing, ProjectionTransform(1, 0, 0, -0.2, 1, 0, 80, 0, 1));
}

TEST(BoingTest, StretchesOnTheWayInAndSquashesPastTheEndKeepingItsArea) {
    EXPECT_EQ((Boing{ui::Edge::top, 1}.effectValue({200, 100})), ProjectionTransform::identity);

    // Far out above: 158.4 tall for a height of 100, its width shrunk as much, moved up 200.
    const ProjectionTransform away = Boing{ui::Edge::top, 0}.effectValue({200, 100});
    EXPECT_NEAR(away.m22, 1.584, 0.0005);
    EXPECT_NEAR(away.m11 * away.m22, 1, 1e-12);
    expectNear(mapped(away, {100, 50}), {100, -150});

    // Past the end: squashed against the far side, whose middle stays put.
    const ProjectionTransform top = Boing{ui::Edge::top, 1.2}.effectValue({200, 100});
    EXPECT_NEAR(top.m11, 1.1321, 0.00005);
    EXPECT_NEAR(top.m22, 0.8833, 0.00005);
    expectNear(mapped(top, {100, 100}), {100, 100});
    const ProjectionTransform leading = Boing{ui::Edge::leading, 1.2}.effectValue({200, 100});
    EXPECT_NEAR(leading.m11, 0.875, 1e-12);
    EXPECT_NEAR(leading.m22, 1.1429, 0.00005);
    expectNear(mapped(leading, {200, 50}), {200, 50});
    expectNear(mapped(Boing{ui::Edge::bottom, 1.2}.effectValue({200, 100}), {100, 0}), {100, 0});
    expectNear(mapped(Boing{ui::Edge::trailing, 1.2}.effectValue({200, 100}), {0, 50}), {0, 50});

    // The length jumps slightly where the two branches meet, at an offset of 1 point.
    EXPECT_NEAR((Boing{ui::Edge::top, 1.00499}.effectValue({100, 100}).m22), 0.9967, 0.0001);
    EXPECT_NEAR((Boing{ui::Edge::top, 1.00501}.effectValue({100, 100}).m22), 1.0071, 0.0001);

    for (ui::Edge edge : {ui::Edge::top, ui::Edge::leading, ui::Edge::bottom, ui::Edge::trailing})
        for (double p : {-0.5, 0.0, 0.3, 0.9, 1.0, 1.05, 1.2, 1.6})
            EXPECT_NEAR(areaFactor(Boing{edge, p}.effectValue({160, 90})), 1, 1e-12)
                << int(edge) << " at " << p;
}

TEST(SquishOffsetTest, LiftsOrSquashesAgainstTheBottomEdge) {
    EXPECT_EQ(SquishOffset{0}.effectValue({200, 100}), ProjectionTransform::identity);
    EXPECT_EQ(SquishOffset{std::nan("")}.effectValue({200, 100}), ProjectionTransform::identity);
    expectNear(SquishOffset{-20}.effectValue({200, 100}), ProjectionTransform(1, 0, 0, 0, 1, 0, 0, -20, 1));

    // 0.3 h down: 0.9 h tall, w / 0.9 wide, the bottom edge and the centre line in place.
    const ProjectionTransform squashed = SquishOffset{30}.effectValue({200, 100});
    EXPECT_NEAR(squashed.m22, 0.9, 1e-12);
    EXPECT_NEAR(squashed.m11, 1 / 0.9, 1e-12);
    expectNear(mapped(squashed, {100, 100}), {100, 100});
    expectNear(mapped(squashed, {0, 0}), {100 - 100 / 0.9, 10});
    // Beyond 0.6 h the band resists: however hard it lands, it gives at most another 0.2 h.
    const double hard = SquishOffset{1000}.effectValue({200, 100}).m22;
    EXPECT_LT(hard, 0.8);
    EXPECT_GT(hard, 0.6);
}

TEST(TransitionGeometryTest, AViewWithoutAreaIsDrawnAsItIs) {
    for (CGSize size : {CGSize{0, 100}, CGSize{200, 0}, CGSize{0, 0}, CGSize{-5, 100}, CGSize{infinity, 100},
                        CGSize{200, std::nan("")}}) {
        EXPECT_EQ(SquishOffset{30}.effectValue(size), ProjectionTransform::identity);
        EXPECT_EQ((Skid{SkidDirection::leading, 0.3}.effectValue(size)), ProjectionTransform::identity);
        EXPECT_EQ((Boing{ui::Edge::leading, 0.3}.effectValue(size)), ProjectionTransform::identity);
    }
}

TEST(RotatedBoundingSizeTest, IsTheTrueBoundingBoxAtAnyAngle) {
    const CGSize upright = Flair::rotatedBoundingSize(0, 200, 100);
    EXPECT_NEAR(upright.width, 200, 1e-12);
    EXPECT_NEAR(upright.height, 100, 1e-12);
    const CGSize quarter = Flair::rotatedBoundingSize(pi / 2, 200, 100);
    EXPECT_NEAR(quarter.width, 100, 1e-12);
    EXPECT_NEAR(quarter.height, 200, 1e-12);
    const CGSize diamond = Flair::rotatedBoundingSize(pi / 4, 1, 1);
    EXPECT_NEAR(diamond.width, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(diamond.height, std::sqrt(2.0), 1e-12);
    for (double angle : {0.4, 2.0, 3.6, 5.5, -0.7, -2.6, 7.9}) {
        const double c = std::abs(std::cos(angle)), s = std::abs(std::sin(angle));
        const CGSize box = Flair::rotatedBoundingSize(angle, 200, 100);
        EXPECT_NEAR(box.width, c * 200 + s * 100, 1e-9) << angle;
        EXPECT_NEAR(box.height, s * 200 + c * 100, 1e-9) << angle;
    }
}
