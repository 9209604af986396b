#include "ui/Path.h"

#include "PathPixels.h"
#include "ui/StrokeStyle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using graphics::CGAffineTransform;
using graphics::CGPoint;
using graphics::CGRect;
using ui::Angle;
using ui::Path;

namespace {

std::vector<QPointF> points(const Path& path) {
    std::vector<QPointF> result;
    const QPainterPath& q = path.toQPainterPath();
    for (int i = 0; i < q.elementCount(); ++i)
        result.push_back(q.elementAt(i));
    return result;
}

int moveCount(const Path& path) {
    int count = 0;
    const QPainterPath& q = path.toQPainterPath();
    for (int i = 0; i < q.elementCount(); ++i)
        count += q.elementAt(i).isMoveTo();
    return count;
}

void expectNear(CGPoint actual, CGPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
}

Path wedge(Angle start, Angle end, bool clockwise) {
    Path path;
    path.move({20, 20});
    path.addArc({20, 20}, 15, start, end, clockwise);
    return path;
}

} // namespace

TEST(PathTest, EmptyPathAndCurrentPoint) {
    Path path;
    EXPECT_TRUE(path.isEmpty());
    EXPECT_TRUE(path.boundingRect().isNull());
    EXPECT_FALSE(path.currentPoint());
    EXPECT_FALSE(path.contains({0, 0}));

    // Segments need somewhere to start from.
    path.addLine({5, 5});
    path.addCurve({5, 5}, {1, 1}, {2, 2});
    path.closeSubpath();
    EXPECT_TRUE(path.isEmpty());

    path.move({3, 4});
    EXPECT_FALSE(path.isEmpty());
    EXPECT_EQ(path.currentPoint(), (CGPoint{3, 4}));
}

TEST(PathTest, ClosingReturnsToTheSubpathStartAndTheNextLineBeginsThere) {
    Path path;
    path.move({10, 10});
    path.addLine({20, 10});
    path.addLine({20, 20});
    path.closeSubpath();
    EXPECT_EQ(path.currentPoint(), (CGPoint{10, 10}));
    path.addLine({30, 30});
    EXPECT_EQ(moveCount(path), 2);
    EXPECT_EQ(points(path).back(), QPointF(30, 30));
    EXPECT_EQ(points(path)[points(path).size() - 2], QPointF(10, 10));
}

TEST(PathTest, RectanglesLinesAndTransforms) {
    Path path(CGRect{{5, 6}, {10, 20}});
    EXPECT_EQ(path.boundingRect(), (CGRect{{5, 6}, {10, 20}}));
    EXPECT_TRUE(path.contains({6, 7}));
    EXPECT_FALSE(path.contains({16, 7}));

    const std::vector<CGRect> rects{{{0, 0}, {2, 2}}, {{10, 0}, {2, 2}}};
    Path many;
    many.addRects(rects, CGAffineTransform::translation(1, 1));
    EXPECT_EQ(moveCount(many), 2);
    EXPECT_EQ(many.boundingRect(), (CGRect{{1, 1}, {12, 2}}));
    EXPECT_FALSE(many.contains({7, 2}));

    const std::vector<CGPoint> corners{{0, 0}, {10, 0}, {10, 10}};
    Path lines;
    lines.addLines(corners);
    EXPECT_TRUE(lines.contains({8, 2}));
    EXPECT_FALSE(lines.contains({2, 8}));

    const Path moved = lines.offsetBy(5, 0);
    EXPECT_EQ(moved.boundingRect(), (CGRect{{5, 0}, {10, 10}}));
    EXPECT_EQ(lines.applying(CGAffineTransform::scale(2, 3)).boundingRect(), (CGRect{{0, 0}, {20, 30}}));
    EXPECT_EQ(moved, lines.applying(CGAffineTransform::translation(5, 0)));

    Path both = lines;
    both.addPath(lines, CGAffineTransform::translation(20, 0));
    EXPECT_EQ(both.boundingRect(), (CGRect{{0, 0}, {30, 10}}));
    Path copy;
    copy.addPath(lines);
    EXPECT_EQ(copy, lines);

    // A broken transform adds nothing rather than points at infinity.
    const CGAffineTransform broken = CGAffineTransform::rotation(std::nan(""));
    EXPECT_TRUE(lines.applying(broken).isEmpty());
    both.addRect({{0, 0}, {50, 50}}, broken);
    both.addArc({0, 0}, 50, Angle::zero(), Angle::degrees(90), false, broken);
    EXPECT_EQ(both.boundingRect(), (CGRect{{0, 0}, {30, 10}}));
}

TEST(PathTest, PointsThatAreNotFiniteAreLeftOut) {
    const double nan = std::nan("");
    // The subpath starts at the first usable point, not at the origin.
    Path lines;
    lines.addLines(std::vector<CGPoint>{{nan, 0}, {1e200, 0}, {5, 5}, {10, 5}});
    EXPECT_EQ(points(lines), (std::vector<QPointF>{{5, 5}, {10, 5}}));
    EXPECT_EQ(moveCount(lines), 1);

    const Path square(CGRect{{0, 0}, {10, 10}});
    EXPECT_TRUE(square.offsetBy(nan, 0).isEmpty());
    EXPECT_TRUE(square.offsetBy(0, INFINITY).isEmpty());
}

TEST(PathTest, EllipsesMadeAgainAreTheirOwnAndChangingOneLeavesTheNext) {
    // Ellipses drawn again in the same place are shared: each must still be its own rectangle and
    // transform, and what is added to one must not show in the next.
    const CGRect first{{0, 0}, {16, 16}}, second{{0, 40}, {16, 16}};
    Path grown = Path::ellipseIn(first);
    grown.addRect({{100, 100}, {5, 5}});
    for (int i = 0; i < 40; ++i) // more places than are kept
        Path::ellipseIn({{double(i), 0}, {4, 4}});
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Path::ellipseIn(first).boundingRect(), first);
        EXPECT_EQ(Path::ellipseIn(second).boundingRect(), second);
        Path turned;
        turned.addEllipse(first, CGAffineTransform::translation(3, 4));
        EXPECT_EQ(turned.boundingRect(), (CGRect{{3, 4}, {16, 16}}));
    }
    EXPECT_EQ(grown.boundingRect(), (CGRect{{0, 0}, {105, 105}}));
}

TEST(PathTest, ContainsHonoursTheFillRule) {
    Path path(CGRect{{0, 0}, {30, 30}});
    path.addRect({{10, 10}, {10, 10}});
    EXPECT_TRUE(path.contains({15, 15}));
    EXPECT_FALSE(path.contains({15, 15}, true));
    EXPECT_TRUE(path.contains({5, 5}, true));
    EXPECT_FALSE(path.contains({std::nan(""), 5}));
}

TEST(PathTest, ArcsTurnClockwiseOnScreenWhenTheFlagIsFalse) {
    // From twelve o'clock to three o'clock.
    const QImage shortWay =
        pathpixels::fill(wedge(Angle::degrees(-90), Angle::degrees(0), false).toQPainterPath());
    EXPECT_TRUE(pathpixels::covered(shortWay, 26, 13));
    EXPECT_FALSE(pathpixels::covered(shortWay, 13, 13));
    EXPECT_FALSE(pathpixels::covered(shortWay, 26, 26));
    EXPECT_FALSE(pathpixels::covered(shortWay, 13, 26));

    const QImage longWay =
        pathpixels::fill(wedge(Angle::degrees(-90), Angle::degrees(0), true).toQPainterPath());
    EXPECT_FALSE(pathpixels::covered(longWay, 26, 13));
    EXPECT_TRUE(pathpixels::covered(longWay, 13, 13));
    EXPECT_TRUE(pathpixels::covered(longWay, 26, 26));
    EXPECT_TRUE(pathpixels::covered(longWay, 13, 26));

    // An end before the start, growing: the rest of the turn.
    const QImage wrapped =
        pathpixels::fill(wedge(Angle::degrees(0), Angle::degrees(-90), false).toQPainterPath());
    EXPECT_EQ(pathpixels::differingCount(wrapped, longWay), 0);
}

TEST(PathTest, ArcSweepsOfAWholeTurnOrMoreDrawOneCircle) {
    const Path full =
        wedge(Angle::radians(-std::numbers::pi / 2), Angle::radians(3 * std::numbers::pi / 2), false);
    expectNear(*full.currentPoint(), {20, 5});
    const QImage image = pathpixels::fill(full.toQPainterPath());
    for (auto [x, y] : {std::pair{26, 13}, {13, 13}, {26, 26}, {13, 26}})
        EXPECT_TRUE(pathpixels::covered(image, x, y)) << x << "," << y;

    const Path more = wedge(Angle::zero(), Angle::radians(5 * std::numbers::pi), false);
    const Path once = wedge(Angle::zero(), Angle::radians(2 * std::numbers::pi), false);
    EXPECT_EQ(points(more).size(), points(once).size());

    // Angles too far apart to subtract add nothing, not even the joining line.
    const Path far = wedge(Angle::radians(1.7e308), Angle::radians(-1.7e308), false);
    EXPECT_EQ(points(far).size(), 1u);
}

TEST(PathTest, ArcJoinsTheCurrentPointAndAppliesItsTransform) {
    Path path;
    path.addArc({0, 0}, 10, Angle::zero(), Angle::degrees(90), false, CGAffineTransform::translation(5, 5));
    EXPECT_EQ(moveCount(path), 1);
    EXPECT_EQ(points(path).front(), QPointF(15, 5));
    expectNear(*path.currentPoint(), {5, 15});

    // The corner of a clockwise outline: a line along the top edge, then the arc down the side.
    Path corner;
    corner.move({0, 0});
    corner.addLine({30, 0});
    corner.addArc({30, 10}, 10, Angle::degrees(-90), Angle::zero(), false);
    EXPECT_EQ(moveCount(corner), 1);
    expectNear(*corner.currentPoint(), {40, 10});
    EXPECT_NEAR(corner.boundingRect().maxX(), 40, 1e-9);
    EXPECT_NEAR(corner.boundingRect().minY(), 0, 1e-9);
}

TEST(PathTest, TrimCutsByLengthAcrossEdgesAndSubpaths) {
    const Path square(CGRect{{0, 0}, {10, 10}}); // 40 long, closing edge included

    const Path part = square.trimmedPath(0.125, 0.375);
    EXPECT_EQ(points(part), (std::vector<QPointF>{{5, 0}, {10, 0}, {10, 5}}));

    const Path closing = square.trimmedPath(0.9, 1);
    EXPECT_EQ(points(closing), (std::vector<QPointF>{{0, 4}, {0, 0}}));

    Path two;
    two.move({0, 0});
    two.addLine({10, 0});
    two.move({0, 10});
    two.addLine({10, 10});
    EXPECT_EQ(points(two.trimmedPath(0.25, 0.75)), (std::vector<QPointF>{{5, 0}, {10, 0}, {0, 10}, {5, 10}}));
    EXPECT_EQ(moveCount(two.trimmedPath(0.25, 0.75)), 2);
}

TEST(PathTest, TrimFollowsCurvesByLength) {
    const Path circle = Path::ellipseIn({{0, 0}, {20, 20}});
    const Path half = circle.trimmedPath(0, 0.5);
    // From three o'clock through six to nine.
    expectNear(*half.currentPoint(), {0, 10});
    EXPECT_NEAR(half.boundingRect().maxY(), 20, 1e-6);
    EXPECT_NEAR(half.boundingRect().minY(), 10, 1e-6);

    const Path middle = circle.trimmedPath(0.25, 0.5);
    expectNear(CGPoint::fromQPointF(middle.toQPainterPath().elementAt(0)), {10, 20});

    // Inside one quarter's curve: a twelfth of the way round is thirty degrees.
    const CGPoint end = *circle.trimmedPath(0, 1.0 / 12).currentPoint();
    EXPECT_NEAR(end.x, 10 + 10 * std::cos(std::numbers::pi / 6), 5e-3);
    EXPECT_NEAR(end.y, 10 + 10 * std::sin(std::numbers::pi / 6), 5e-3);
}

TEST(PathTest, TrimOutsideTheRange) {
    const Path square(CGRect{{0, 0}, {10, 10}});
    EXPECT_TRUE(square.trimmedPath(0, 0).isEmpty());
    EXPECT_TRUE(square.trimmedPath(0.6, 0.2).isEmpty());
    EXPECT_TRUE(square.trimmedPath(0, -0.5).isEmpty());
    EXPECT_TRUE(square.trimmedPath(std::nan(""), 1).isEmpty());
    EXPECT_EQ(square.trimmedPath(-1, 1.7), square);
    EXPECT_TRUE(Path().trimmedPath(0, 0.5).isEmpty());
}

TEST(PathTest, ATrimmedSweepFromTheCentreFillsAWedge) {
    // Centre, a line out to twelve o'clock, then a whole turn: the line counts towards the length.
    const Path sweep =
        wedge(Angle::radians(-std::numbers::pi / 2), Angle::radians(3 * std::numbers::pi / 2), false);
    const double radius = 15;
    const double total = radius + 2 * std::numbers::pi * radius;
    const Path half = sweep.trimmedPath(0, (radius + std::numbers::pi * radius) / total);
    // The cubics are a hair longer than the true circle.
    EXPECT_NEAR(half.currentPoint()->x, 20, 1e-2);
    EXPECT_NEAR(half.currentPoint()->y, 35, 1e-2);
    const QImage image = pathpixels::fill(half.toQPainterPath());
    EXPECT_TRUE(pathpixels::covered(image, 26, 13));
    EXPECT_TRUE(pathpixels::covered(image, 26, 26));
    EXPECT_FALSE(pathpixels::covered(image, 13, 13));
    EXPECT_FALSE(pathpixels::covered(image, 13, 26));
}
