#include "graphics/CGAffineTransform.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using graphics::CGAffineTransform;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;

namespace {

void expectNear(const CGAffineTransform& actual, const CGAffineTransform& expected) {
    constexpr double tolerance = 1e-12;
    EXPECT_NEAR(actual.a, expected.a, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.c, expected.c, tolerance);
    EXPECT_NEAR(actual.d, expected.d, tolerance);
    EXPECT_NEAR(actual.tx, expected.tx, tolerance);
    EXPECT_NEAR(actual.ty, expected.ty, tolerance);
}

void expectNear(CGPoint actual, CGPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
}

const CGAffineTransform skewed = CGAffineTransform::translation(3, -4).rotated(0.7).scaledBy(2, 0.5);

} // namespace

TEST(CGAffineTransformTest, DefaultIsTheIdentity) {
    EXPECT_TRUE(CGAffineTransform().isIdentity());
    EXPECT_EQ(CGAffineTransform::identity, (CGAffineTransform{1, 0, 0, 1, 0, 0}));
    EXPECT_FALSE(CGAffineTransform::translation(0, 1).isIdentity());
}

TEST(CGAffineTransformTest, ConcatenationAppliesTheReceiverFirst) {
    const auto translate = CGAffineTransform::translation(10, 0);
    const auto scale = CGAffineTransform::scale(2, 3);
    const CGPoint p{1, 1};

    EXPECT_EQ(p.applying(translate.concatenating(scale)), (CGPoint{22, 3}));
    EXPECT_EQ(p.applying(scale.concatenating(translate)), (CGPoint{12, 3}));
    EXPECT_EQ(p.applying(translate.concatenating(scale)), p.applying(translate).applying(scale));
}

TEST(CGAffineTransformTest, BuildersApplyTheNewStepBeforeTheReceiver) {
    const auto translate = CGAffineTransform::translation(10, 0);
    const auto scale = CGAffineTransform::scale(2, 3);
    const CGPoint p{1, 1};

    EXPECT_EQ(scale.translatedBy(10, 0), translate.concatenating(scale));
    EXPECT_EQ(p.applying(scale.translatedBy(10, 0)), (CGPoint{22, 3}));
    EXPECT_EQ(translate.scaledBy(2, 3), scale.concatenating(translate));
    EXPECT_EQ(p.applying(translate.scaledBy(2, 3)), (CGPoint{12, 3}));

    expectNear(CGPoint{1, 0}.applying(CGAffineTransform::rotation(std::numbers::pi / 2)), CGPoint{0, 1});
    expectNear(CGPoint{1, 0}.applying(translate.rotated(std::numbers::pi / 2)), CGPoint{10, 1});
}

TEST(CGAffineTransformTest, AgreesWithQTransform) {
    const auto other = CGAffineTransform::rotation(-1.1).translatedBy(5, 6);
    const QTransform product = skewed.toQTransform() * other.toQTransform();
    const QTransform ours = skewed.concatenating(other).toQTransform();
    EXPECT_TRUE(qFuzzyCompare(ours, product));

    const QPointF mapped = skewed.toQTransform().map(QPointF(7, -2));
    expectNear(CGPoint{7, -2}.applying(skewed), CGPoint::fromQPointF(mapped));

    EXPECT_EQ(CGAffineTransform::fromQTransform(skewed.toQTransform()), skewed);
    const QTransform projective(1, 0, 0.01, 0, 1, 0, 0, 0, 1);
    EXPECT_EQ(CGAffineTransform::fromQTransform(projective), std::nullopt);
}

TEST(CGAffineTransformTest, InversionUndoesTheTransform) {
    const CGAffineTransform inverse = skewed.inverted();
    expectNear(skewed.concatenating(inverse), CGAffineTransform::identity);
    expectNear(inverse.concatenating(skewed), CGAffineTransform::identity);
    expectNear(CGPoint{-8, 2.5}.applying(skewed).applying(inverse), CGPoint{-8, 2.5});
    EXPECT_EQ(CGAffineTransform::identity.inverted(), CGAffineTransform::identity);
}

TEST(CGAffineTransformTest, SingularTransformsComeBackUnchanged) {
    const auto flat = CGAffineTransform::scale(0, 1).translatedBy(4, 5);
    EXPECT_EQ(flat.inverted(), flat);
    const CGAffineTransform dependent{1, 2, 2, 4, 5, 6};
    EXPECT_EQ(dependent.inverted(), dependent);

    constexpr double inf = std::numeric_limits<double>::infinity();
    const CGAffineTransform infinite{inf, 0, 0, 1, 0, 0};
    EXPECT_EQ(infinite.inverted(), infinite);
    const CGAffineTransform farAway{1, 0, 0, 1, inf, 0};
    EXPECT_EQ(farAway.inverted(), farAway);
    const CGAffineTransform notANumber{std::nan(""), 0, 0, 1, 0, 0};
    EXPECT_TRUE(std::isnan(notANumber.inverted().a));
    EXPECT_EQ(notANumber.inverted().d, 1);
}

TEST(CGAffineTransformTest, AppliesToSizesWithoutTranslationAndRectsAsBoundingBoxes) {
    const auto moveAndScale = CGAffineTransform::translation(100, 100).scaledBy(2, -1);
    EXPECT_EQ((CGSize{3, 4}).applying(moveAndScale), (CGSize{6, -4}));
    EXPECT_EQ((CGRect{{1, 1}, {3, 4}}).applying(moveAndScale), (CGRect{{102, 95}, {6, 4}}));

    const CGRect turned = CGRect{{0, 0}, {2, 1}}.applying(CGAffineTransform::rotation(std::numbers::pi / 2));
    EXPECT_NEAR(turned.minX(), -1, 1e-12);
    EXPECT_NEAR(turned.minY(), 0, 1e-12);
    EXPECT_NEAR(turned.width(), 1, 1e-12);
    EXPECT_NEAR(turned.height(), 2, 1e-12);

    EXPECT_TRUE(CGRect::null().applying(moveAndScale).isNull());
}
