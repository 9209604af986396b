#include "graphics/CGRect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGRectDivision;
using graphics::CGRectEdge;

namespace {

constexpr CGRect rect(double x, double y, double width, double height) {
    return {{x, y}, {width, height}};
}

} // namespace

TEST(CGRectTest, NullEmptyAndInfiniteAreDistinct) {
    EXPECT_TRUE(CGRect::null().isNull());
    EXPECT_TRUE(CGRect::null().isEmpty());
    EXPECT_FALSE(CGRect::zero.isNull());
    EXPECT_TRUE(CGRect::zero.isEmpty());
    EXPECT_TRUE(rect(3, 4, 0, 5).isEmpty());
    EXPECT_FALSE(rect(3, 4, -1, 5).isEmpty());

    const CGRect infinite = CGRect::infinite();
    EXPECT_TRUE(infinite.isInfinite());
    EXPECT_FALSE(infinite.isEmpty());
    EXPECT_TRUE(std::isfinite(infinite.maxX()));
    EXPECT_TRUE(infinite.contains(CGPoint{-1e300, 1e300}));
    EXPECT_EQ(infinite.intersection(rect(1, 2, 3, 4)), rect(1, 2, 3, 4));
}

TEST(CGRectTest, EdgesOfANegativeSizeAreThoseOfTheStandardizedRect) {
    const CGRect r = rect(10, 20, -4, -6);
    EXPECT_EQ(r.standardized(), rect(6, 14, 4, 6));
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.midX(), 8);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.minY(), 14);
    EXPECT_EQ(r.midY(), 17);
    EXPECT_EQ(r.maxY(), 20);
    EXPECT_EQ(r.width(), 4);
    EXPECT_EQ(r.height(), 6);
}

TEST(CGRectTest, InsetStandardizesAndTurnsNullWhenNothingIsLeft) {
    const CGRect r = rect(0, 0, 10, 10);
    EXPECT_EQ(r.insetBy(2, 3), rect(2, 3, 6, 4));
    EXPECT_EQ(r.insetBy(-1, -1), rect(-1, -1, 12, 12));
    EXPECT_EQ(r.insetBy(5, 0), rect(5, 0, 0, 10)); // nothing left across, yet not negative
    EXPECT_TRUE(r.insetBy(5.5, 0).isNull());
    EXPECT_TRUE(r.insetBy(0, 6).isNull());
    EXPECT_TRUE(r.insetBy(std::nan(""), 0).isNull());
    EXPECT_EQ(rect(10, 10, -10, -10).insetBy(1, 1), rect(1, 1, 8, 8));
    EXPECT_TRUE(CGRect::null().insetBy(-100, -100).isNull());
}

TEST(CGRectTest, DividesFromEachEdge) {
    const CGRect r = rect(10, 20, 100, 50);
    EXPECT_EQ(r.divided(30, CGRectEdge::minXEdge),
              (CGRectDivision{rect(10, 20, 30, 50), rect(40, 20, 70, 50)}));
    EXPECT_EQ(r.divided(30, CGRectEdge::maxXEdge),
              (CGRectDivision{rect(80, 20, 30, 50), rect(10, 20, 70, 50)}));
    EXPECT_EQ(r.divided(10, CGRectEdge::minYEdge),
              (CGRectDivision{rect(10, 20, 100, 10), rect(10, 30, 100, 40)}));
    EXPECT_EQ(r.divided(10, CGRectEdge::maxYEdge),
              (CGRectDivision{rect(10, 60, 100, 10), rect(10, 20, 100, 40)}));
}

TEST(CGRectTest, DivisionClampsTheDistanceToTheExtent) {
    const CGRect r = rect(10, 20, 100, 50);
    EXPECT_EQ(r.divided(500, CGRectEdge::minXEdge), (CGRectDivision{r, rect(110, 20, 0, 50)}));
    EXPECT_EQ(r.divided(500, CGRectEdge::maxXEdge), (CGRectDivision{r, rect(10, 20, 0, 50)}));
    EXPECT_EQ(r.divided(60, CGRectEdge::minYEdge), (CGRectDivision{r, rect(10, 70, 100, 0)}));
    EXPECT_EQ(r.divided(60, CGRectEdge::maxYEdge), (CGRectDivision{r, rect(10, 20, 100, 0)}));

    EXPECT_EQ(r.divided(-5, CGRectEdge::minXEdge), (CGRectDivision{rect(10, 20, 0, 50), r}));
    EXPECT_EQ(r.divided(-5, CGRectEdge::maxXEdge), (CGRectDivision{rect(110, 20, 0, 50), r}));
    EXPECT_EQ(r.divided(-5, CGRectEdge::minYEdge), (CGRectDivision{rect(10, 20, 100, 0), r}));
    EXPECT_EQ(r.divided(-5, CGRectEdge::maxYEdge), (CGRectDivision{rect(10, 70, 100, 0), r}));
    EXPECT_EQ(r.divided(std::nan(""), CGRectEdge::minXEdge), (CGRectDivision{rect(10, 20, 0, 50), r}));
}

TEST(CGRectTest, DivisionStandardizesAndKeepsNullNull) {
    EXPECT_EQ(rect(110, 70, -100, -50).divided(30, CGRectEdge::minXEdge),
              (CGRectDivision{rect(10, 20, 30, 50), rect(40, 20, 70, 50)}));
    const auto [slice, remainder] = CGRect::null().divided(10, CGRectEdge::maxYEdge);
    EXPECT_TRUE(slice.isNull());
    EXPECT_TRUE(remainder.isNull());
}

TEST(CGRectTest, ContainsPointsFromTheMinimumEdgeUpToTheMaximumEdge) {
    const CGRect r = rect(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(CGPoint{0, 0}));
    EXPECT_TRUE(r.contains(CGPoint{9.999, 9.999}));
    EXPECT_FALSE(r.contains(CGPoint{10, 5}));
    EXPECT_FALSE(r.contains(CGPoint{5, 10}));
    EXPECT_FALSE(r.contains(CGPoint{-0.001, 5}));
    EXPECT_FALSE(r.contains(CGPoint{std::nan(""), 5}));

    const CGRect flipped = rect(10, 10, -10, -10);
    EXPECT_TRUE(flipped.contains(CGPoint{0, 0}));
    EXPECT_FALSE(flipped.contains(CGPoint{10, 10}));

    EXPECT_FALSE(rect(5, 5, 0, 0).contains(CGPoint{5, 5}));
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(CGRect::null().contains(CGPoint{inf, inf}));
}

TEST(CGRectTest, ContainsRectanglesWithCoincidingEdgesButNeverNull) {
    const CGRect r = rect(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(r));
    EXPECT_TRUE(r.contains(rect(0, 5, 10, 5)));
    EXPECT_TRUE(r.contains(rect(10, 10, -10, -2)));
    EXPECT_FALSE(r.contains(rect(5, 5, 6, 1)));
    EXPECT_FALSE(r.contains(CGRect::null()));
    EXPECT_FALSE(CGRect::null().contains(r));
}

TEST(CGRectTest, IntersectionAndUnion) {
    const CGRect a = rect(0, 0, 10, 10);
    EXPECT_EQ(a.intersection(rect(5, -5, 10, 10)), rect(5, 0, 5, 5));
    EXPECT_TRUE(a.intersects(rect(5, -5, 10, 10)));
    EXPECT_TRUE(a.intersection(rect(11, 0, 1, 1)).isNull());
    EXPECT_FALSE(a.intersects(rect(11, 0, 1, 1)));
    EXPECT_TRUE(a.intersection(CGRect::null()).isNull());

    // Touching rectangles meet along an edge but share no area.
    EXPECT_EQ(a.intersection(rect(10, 0, 5, 5)), rect(10, 0, 0, 5));
    EXPECT_FALSE(a.intersects(rect(10, 0, 5, 5)));

    EXPECT_EQ(a.unionWith(rect(20, -5, -5, 1)), rect(0, -5, 20, 15));
    EXPECT_EQ(a.unionWith(CGRect::null()), a);
    EXPECT_EQ(CGRect::null().unionWith(a), a);
    EXPECT_TRUE(CGRect::null().unionWith(CGRect::null()).isNull());
}

TEST(CGRectTest, OffsetAndIntegral) {
    EXPECT_EQ(rect(1, 2, -1, 3).offsetBy(10, -2), rect(10, 0, 1, 3));
    EXPECT_TRUE(CGRect::null().offsetBy(1, 1).isNull());
    EXPECT_EQ(rect(0.5, 1.2, 2.0, 2.9).integral(), rect(0, 1, 3, 4));
    EXPECT_EQ(rect(-0.5, -0.5, 1, 1).integral(), rect(-1, -1, 2, 2));
    EXPECT_EQ(rect(2, 3, 4, 5).integral(), rect(2, 3, 4, 5));
    EXPECT_TRUE(CGRect::null().integral().isNull());
}

TEST(CGRectTest, ConvertsToAndFromQt) {
    const CGRect r = rect(1.5, -2, 3, 4.25);
    EXPECT_EQ(r.toQRectF(), QRectF(1.5, -2, 3, 4.25));
    EXPECT_EQ(CGRect::fromQRectF(r.toQRectF()), r);
    EXPECT_EQ(CGRect::null().toQRectF(), QRectF());
}
