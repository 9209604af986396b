#include "FlairTestSupport.h"

#include "Flair/TRS.h"
#include "Flair/Transform3DEffect.h"
#include "graphics/Matrix4x4.h"
#include "ui/Animatable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using Flair::Anchor3D;
using Flair::Transform3DEffect;
using Flair::TRS;
using Flair::Vector3;
using flairtest::expectNear;
using graphics::Matrix4x4;
using graphics::ProjectionTransform;

namespace {

constexpr double pi = std::numbers::pi;

Transform3DEffect effect(TRS trs, Anchor3D anchor = {{0.5, 0.5}, 0}, double perspective = 0) {
    return Transform3DEffect({trs, {anchor, perspective}});
}

TRS rotated(graphics::Quaternion rotation) {
    TRS trs = TRS::identity;
    trs.rotation = rotation;
    return trs;
}

// A turn about x: y goes towards z.
Transform3DEffect turnAboutX(double angle) {
    return Transform3DEffect({0, 0, 0}, angle, {1, 0, 0}, {1, 1, 1}, {0.5, 0.5}, 0, 0);
}

} // namespace

TEST(Transform3DEffectTest, TheIdentityAndUnrotatedValuesDrawUnchanged) {
    for (auto size : {graphics::CGSize{200, 100}, graphics::CGSize{0, 0}, graphics::CGSize{3, 7}})
        for (Anchor3D anchor : {Anchor3D{{0, 0}, 0}, Anchor3D{{0.3, 0.9}, -40}})
            EXPECT_EQ(effect(TRS::identity, anchor).effectValue(size), ProjectionTransform::identity);
    // Only the quaternion's direction counts.
    const auto twice = effect(rotated({0, 0, 0, 2}), {{0.5, 0.5}, 0}, 0.3).effectValue({200, 100});
    const auto once = effect(rotated({0, 0, 0, 1}), {{0.5, 0.5}, 0}, 0.3).effectValue({200, 100});
    expectNear(twice, once, 1e-15);
    expectNear(once, ProjectionTransform::identity, 1e-15);

    TRS moved = TRS::identity;
    moved.translation = {10, 20, 0};
    EXPECT_EQ(effect(moved).effectValue({200, 100}), (ProjectionTransform{1, 0, 0, 0, 1, 0, 10, 20, 1}));
    // A view without size has its anchor at (0, 0, z) whatever the unit point.
    const auto atSizeZero = [](Anchor3D anchor) {
        return effect(rotated({0.2, -0.4, 0.1, 0.9}), anchor, 0.25).effectValue({0, 0});
    };
    EXPECT_EQ(atSizeZero({{0.3, 0.7}, 12}), atSizeZero({{0, 0}, 12}));
}

TEST(Transform3DEffectTest, QuaternionsBlendComponentByComponent) {
    // Halfway from none to a half turn about x lies (0.5, 0, 0, 0.5): a quarter turn.
    const TRS halfway = ui::interpolate(rotated({0, 0, 0, 1}), rotated({1, 0, 0, 0}), 0.5);
    EXPECT_EQ(halfway.rotation, (graphics::Quaternion{0.5, 0, 0, 0.5}));
    expectNear(effect(halfway).effectValue({200, 100}), turnAboutX(pi / 2).effectValue({200, 100}), 1e-12);
    // The zero value has scale 0.
    EXPECT_EQ(TRS::zero().scale, (Vector3{0, 0, 0}));
    EXPECT_EQ(ui::magnitudeSquared(TRS::identity), 3);
}

TEST(Transform3DEffectTest, PerspectiveShrinksWhatIsFarAndLeavesAFlatViewAffine) {
    for (double angle : {0.3, 1.2, 2.5}) {
        const auto flat = Transform3DEffect({5, 6, 7}, angle, {1, 2, 3}, {1, 2, 1}, {0.2, 0.8}, 9, 0);
        EXPECT_TRUE(flat.effectValue({200, 100}).isAffine()) << angle;
    }
    // 2500 points back with perspective 0.16: w' = 1 + 0.0016 · 2500 = 5.
    TRS far = TRS::identity;
    far.translation = {0, 0, -2500};
    const auto farAway = effect(far, {{0, 0}, 0}, 0.16).effectValue({200, 100});
    EXPECT_DOUBLE_EQ(farAway.m33, 5);
    expectNear(flairtest::mapped(farAway, {100, 50}), {20, 10});
}

TEST(Transform3DEffectTest, TheEffectIsTheProductAboutTheAnchorWithZDropped) {
    std::mt19937_64 engine(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int round = 0; round < 10; ++round) {
        const Vector3 translation{unit(engine) * 50, unit(engine) * 50, unit(engine) * 50};
        const Vector3 axis{unit(engine), unit(engine), unit(engine)};
        const double angle = unit(engine) * pi;
        const Vector3 scale{1 + unit(engine) * 0.5, 1 + unit(engine) * 0.5, 1 + unit(engine) * 0.5};
        const ui::UnitPoint anchor{unit(engine), unit(engine)};
        const double anchorZ = unit(engine) * 30, perspective = unit(engine) * 0.3;
        const graphics::CGSize size{150 + unit(engine) * 50, 80 + unit(engine) * 20};
        const Transform3DEffect e(translation, angle, axis, scale, anchor, anchorZ, perspective);

        graphics::Quaternion q{axis.x * std::sin(angle / 2), axis.y * std::sin(angle / 2),
                               axis.z * std::sin(angle / 2), std::cos(angle / 2)};
        const double length = std::sqrt(q.lengthSquared());
        q = {q.ix / length, q.iy / length, q.iz / length, q.r / length};
        Matrix4x4 projection;
        projection.m[2][3] = -perspective / 100;
        const double ax = anchor.x * size.width, ay = anchor.y * size.height;
        const Matrix4x4 n = Matrix4x4::translation(ax, ay, anchorZ) * projection *
                            Matrix4x4::translation(translation.x, translation.y, translation.z) *
                            Matrix4x4::rotation(q) * Matrix4x4::scale(scale.x, scale.y, scale.z) *
                            Matrix4x4::translation(-ax, -ay, -anchorZ);
        const ProjectionTransform expected{n.m[0][0], n.m[0][1], n.m[0][3], n.m[1][0], n.m[1][1],
                                           n.m[1][3], n.m[3][0], n.m[3][1], n.m[3][3]};
        expectNear(e.effectValue(size), expected, 1e-9);
    }
}

TEST(Transform3DEffectTest, TheBuilderDoesNotNormaliseItsAxis) {
    const auto longAxis = Transform3DEffect({0, 0, 0}, pi / 2, {0, 2, 0}, {1, 1, 1}, {0.5, 0.5}, 0, 0);
    const double turn = 2 * std::atan2(2 * std::sin(pi / 4), std::cos(pi / 4));
    EXPECT_NEAR(turn * 180 / pi, 126.87, 0.005);
    const auto unitAxis = Transform3DEffect({0, 0, 0}, turn, {0, 1, 0}, {1, 1, 1}, {0.5, 0.5}, 0, 0);
    expectNear(longAxis.effectValue({200, 100}), unitAxis.effectValue({200, 100}), 1e-12);
    EXPECT_EQ(longAxis.trs().rotation.iy, 2 * std::sin(pi / 4));
}

TEST(Transform3DEffectTest, ShadingSeesTheFaceTurnedTowardsTheViewer) {
    const Vector3 light{-0.5, -1, 0};
    EXPECT_EQ(Flair::shadeBrightness(TRS::identity, light), 0);
    const TRS halfTurn = Transform3DEffect({0, 0, 0}, pi, {0, 1, 0}, {1, 1, 1}, {0.5, 0.5}, 0, 0).trs();
    EXPECT_NEAR(halfTurn.normal().z, -1, 1e-15);
    EXPECT_NEAR(Flair::shadeBrightness(halfTurn, {0.3, 0.2, 0.9}),
                Flair::shadeBrightness(TRS::identity, {0.3, 0.2, 0.9}), 1e-15);
    EXPECT_DOUBLE_EQ(Flair::shadeBrightness(TRS::identity, {0.3, 0.2, 0.9}), 0.9 * 0.2);
    // Tilted about x, the face points partly down (+y): lit from below, dark from above.
    const TRS tilted = turnAboutX(-pi / 3).trs();
    EXPECT_NEAR(Flair::shadeBrightness(tilted, {0, 1, 0}), std::sin(pi / 3) * 0.2, 1e-15);
    EXPECT_NEAR(Flair::shadeBrightness(tilted, {0, -1, 0}), -std::sin(pi / 3) * 0.2, 1e-15);
}
