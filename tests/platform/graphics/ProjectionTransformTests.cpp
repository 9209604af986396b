#include "graphics/CGAffineTransform.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/ProjectionTransform.h"

#include <gtest/gtest.h>

#include <QPointF>
#include <QTransform>

#include <cmath>
#include <numbers>

using graphics::CGAffineTransform;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::ProjectionTransform;

namespace {

void expectNear(CGPoint actual, CGPoint expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

// A mild perspective: the far (right) side shrinks.
const ProjectionTransform tilted{1, 0, 0.002, 0, 1, 0, 5, -3, 1};

} // namespace

TEST(ProjectionTransformTest, MatchesQTransformFieldForFieldAndPointForPoint) {
    struct Case {
        const char* name;
        ProjectionTransform transform;
    };
    const Case cases[] = {
        {"translation", ProjectionTransform(CGAffineTransform::translation(10, -4))},
        {"scale", ProjectionTransform(CGAffineTransform::scale(2, 0.5))},
        {"rotation", ProjectionTransform(CGAffineTransform::rotation(std::numbers::pi / 6))},
        {"perspective", tilted},
    };
    QTransform qt[] = {QTransform::fromTranslate(10, -4), QTransform::fromScale(2, 0.5),
                       QTransform().rotateRadians(std::numbers::pi / 6),
                       QTransform(1, 0, 0.002, 0, 1, 0, 5, -3, 1)};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const QTransform q = c.transform.toQTransform();
        EXPECT_TRUE(qFuzzyCompare(q, qt[i])) << c.name;
        EXPECT_EQ(ProjectionTransform::fromQTransform(q), c.transform) << c.name;
        EXPECT_EQ(q.isAffine(), c.transform.isAffine()) << c.name;
        for (const CGPoint p : {CGPoint{0, 0}, CGPoint{30, 20}, CGPoint{-7, 12.5}}) {
            const QPointF mapped = q.map(p.toQPointF());
            expectNear(p.applying(c.transform), {mapped.x(), mapped.y()});
        }
    }
    // The translation sits in the third row, as on row vectors.
    const ProjectionTransform moved(CGAffineTransform::translation(10, 20));
    EXPECT_EQ(moved.m31, 10);
    EXPECT_EQ(moved.m32, 20);
    EXPECT_EQ(CGPoint{}.applying(tilted), (CGPoint{5, -3}));
    expectNear(CGPoint{100, 0}.applying(tilted), {105 / 1.2, -3 / 1.2});
}

TEST(ProjectionTransformTest, AffineFormsConvertBothWays) {
    const auto affine = CGAffineTransform::translation(3, 4).rotated(0.5).scaledBy(2, 3);
    const ProjectionTransform projection(affine);
    EXPECT_TRUE(projection.isAffine());
    EXPECT_EQ(projection.affineTransform(), affine);
    EXPECT_FALSE(tilted.isAffine());
    EXPECT_FALSE(tilted.affineTransform());
    EXPECT_TRUE(ProjectionTransform().isIdentity());
    EXPECT_FALSE(tilted.isIdentity());
}

TEST(ProjectionTransformTest, ConcatenationAppliesTheReceiverFirstAsQTransformDoes) {
    const ProjectionTransform scale(CGAffineTransform::scale(2, 3));
    const ProjectionTransform both = tilted.concatenating(scale);
    const QTransform q = tilted.toQTransform() * scale.toQTransform();
    EXPECT_TRUE(qFuzzyCompare(both.toQTransform(), q));
    const CGPoint p{40, 10};
    expectNear(p.applying(both), p.applying(tilted).applying(scale));
}

TEST(ProjectionTransformTest, InversionUndoesAPerspectiveAndRefusesASingularTransform) {
    ProjectionTransform inverse = tilted;
    ASSERT_TRUE(inverse.invert());
    const CGPoint p{25, -60};
    expectNear(p.applying(tilted).applying(inverse), p);
    EXPECT_TRUE(qFuzzyCompare(inverse.toQTransform(), tilted.toQTransform().inverted()));

    ProjectionTransform flat(CGAffineTransform::scale(0, 1));
    EXPECT_FALSE(flat.invert());
    EXPECT_EQ(flat, ProjectionTransform(CGAffineTransform::scale(0, 1))) << "left as it was";
    ProjectionTransform broken = tilted;
    broken.m31 = std::nan("");
    EXPECT_EQ(broken.inverted().m11, 1) << "a non-finite transform comes back unchanged";
}

TEST(ProjectionTransformTest, PointsBehindTheHorizonAreNotInFront) {
    // W = 1 - x / 100: the horizon is the line x = 100.
    const ProjectionTransform t{1, 0, -0.01, 0, 1, 0, 0, 0, 1};
    expectNear(*t.mapInFront({50, 10}), {100, 20});
    EXPECT_FALSE(t.mapInFront({100, 0}));
    EXPECT_FALSE(t.mapInFront({150, 0}));
}

TEST(ProjectionTransformTest, BoundsReachingTheHorizonAreCutThereNotFlipped) {
    const ProjectionTransform t{1, 0, -0.01, 0, 1, 0, 0, 0, 1};
    // In front: the exact bounds of the mapped corners.
    const CGRect near = CGRect{{0, 0}, {50, 10}}.applying(t);
    expectNear(near.origin, {0, 0});
    expectNear({near.maxX(), near.maxY()}, {100, 20});

    // Across the horizon: finite, very large towards it, and never reaching behind (negative x).
    const CGRect across = CGRect{{0, 0}, {200, 10}}.applying(t);
    EXPECT_TRUE(std::isfinite(across.maxX()));
    EXPECT_GT(across.maxX(), 1e6);
    EXPECT_EQ(across.minX(), 0);
    EXPECT_EQ(across.minY(), 0);

    const CGRect behind{{150, 0}, {10, 10}};
    EXPECT_TRUE(behind.applying(t).isNull()) << "wholly behind";
    const CGRect plain{{1, 2}, {3, 4}};
    EXPECT_EQ(plain.applying(ProjectionTransform()), plain);
}
