#include "ui/AnyShape.h"
#include "ui/Capsule.h"
#include "ui/Circle.h"
#include "ui/Ellipse.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Shape.h"
#include "ui/ShapeDrawing.h"

#include "PathPixels.h"

#include <gtest/gtest.h>

#include <cmath>

using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;
using pathpixels::covered;
using ui::Angle;
using ui::Path;
using ui::RoundedCornerStyle;

namespace {

// A user shape: only a path, found by the concept.
struct Triangle {
    Path path(const CGRect& rect) const {
        Path path;
        path.move({rect.midX(), rect.minY()});
        path.addLine({rect.maxX(), rect.maxY()});
        path.addLine({rect.minX(), rect.maxY()});
        path.closeSubpath();
        return path;
    }
};

static_assert(ui::ShapeType<Triangle>);
static_assert(!ui::InsettableShape<Triangle>);
static_assert(ui::InsettableShape<ui::Circle>);
static_assert(ui::InsettableShape<ui::RoundedRectangle>);
static_assert(ui::InsettableShape<ui::TrimmedShape<ui::Capsule>>);
static_assert(!ui::InsettableShape<ui::AnyShape>);

const CGRect square{{0, 0}, {40, 40}};

void expectRect(const CGRect& actual, const CGRect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

CGPoint start(const Path& path) {
    return CGPoint::fromQPointF(path.toQPainterPath().elementAt(0));
}

} // namespace

TEST(ShapeTest, ShapesFitTheirRectangle) {
    const CGRect wide{{0, 0}, {40, 20}};
    expectRect(ui::Rectangle().path(wide).boundingRect(), wide);
    expectRect(ui::Ellipse().path(wide).boundingRect(), wide);
    expectRect(ui::Capsule().path(wide).boundingRect(), wide);
    expectRect(ui::RoundedRectangle(6).path(wide).boundingRect(), wide);
    // The largest centred circle.
    expectRect(ui::Circle().path(wide).boundingRect(), {{10, 0}, {20, 20}});

    const Path capsule = ui::Capsule().path(wide);
    EXPECT_TRUE(capsule.contains({1, 10}));
    EXPECT_FALSE(capsule.contains({1, 1}));
    EXPECT_TRUE(capsule.contains({20, 1}));

    const Path ellipse = ui::Ellipse().path(wide);
    EXPECT_TRUE(ellipse.contains({2, 10}));
    EXPECT_FALSE(ellipse.contains({4, 3}));
}

TEST(ShapeTest, CircleStartsAtThreeOclockAndRunsClockwise) {
    const Path circle = ui::Circle().path(square);
    EXPECT_EQ(start(circle), (CGPoint{40, 20}));
    // A move and four quarter curves: the turn closes on its start, with no extra closing line.
    EXPECT_EQ(circle.toQPainterPath().elementCount(), 13);

    const ui::StrokeStyle ring{.lineWidth = 4};
    const QImage quarter = pathpixels::fill(ui::strokePath(ui::Circle().trim(0, 0.25), square, ring));
    EXPECT_TRUE(covered(quarter, 33, 33)); // bottom right
    EXPECT_FALSE(covered(quarter, 33, 6)); // top right
    EXPECT_FALSE(covered(quarter, 6, 33));

    // Turned back a quarter, a progress arc begins at twelve o'clock and runs towards three.
    const auto progress = ui::Circle().trim(0, 0.25).rotation(Angle::degrees(-90));
    const QImage fromTop = pathpixels::fill(ui::strokePath(progress, square, ring));
    EXPECT_TRUE(covered(fromTop, 33, 6));
    EXPECT_FALSE(covered(fromTop, 6, 6));
    EXPECT_FALSE(covered(fromTop, 33, 33));
    const CGPoint top = start(progress.path(square));
    EXPECT_NEAR(top.x, 20, 1e-9);
    EXPECT_NEAR(top.y, 0, 1e-9);

    EXPECT_TRUE(ui::Circle().trim(0, 0).path(square).isEmpty());
    EXPECT_EQ(ui::Circle().trim(0, 1.7).path(square), circle);
}

TEST(ShapeTest, ContinuousCornersDifferFromCircularOnesAndStayInside) {
    const Path circular = ui::RoundedRectangle(10).path(square);
    const Path continuous = ui::RoundedRectangle(10, RoundedCornerStyle::continuous).path(square);
    expectRect(continuous.boundingRect(), square);
    EXPECT_GT(pathpixels::differingCount(pathpixels::fill(circular.toQPainterPath()),
                                         pathpixels::fill(continuous.toQPainterPath())),
              0);

    // The continuous corner leaves the edge earlier and more gently...
    EXPECT_TRUE(circular.contains({8.3, 0.25}));
    EXPECT_FALSE(continuous.contains({8.3, 0.25}));
    EXPECT_TRUE(continuous.contains({20, 0.25}));
    // ...and is about as round where it crosses the diagonal.
    EXPECT_FALSE(continuous.contains({2.6, 2.6}));
    EXPECT_TRUE(continuous.contains({3.1, 3.1}));
    for (const CGPoint corner : {CGPoint{0.5, 0.5}, {39.5, 0.5}, {39.5, 39.5}, {0.5, 39.5}}) {
        EXPECT_FALSE(circular.contains(corner));
        EXPECT_FALSE(continuous.contains(corner));
    }

    // A corner larger than the rectangle allows still fits.
    const Path large = ui::RoundedRectangle(100, RoundedCornerStyle::continuous).path({{0, 0}, {40, 20}});
    expectRect(large.boundingRect(), {{0, 0}, {40, 20}});
    EXPECT_TRUE(large.contains({20, 10}));
    EXPECT_FALSE(large.contains({1, 1}));
}

TEST(ShapeTest, CornerSizesThatCannotRoundGiveARectangle) {
    for (double radius : {0.0, -4.0, std::nan("")}) {
        const Path path = ui::RoundedRectangle(radius).path(square);
        EXPECT_TRUE(path.contains({0.5, 0.5})) << radius;
        expectRect(path.boundingRect(), square);
    }
    // Elliptical corners round each axis by its own amount.
    const Path oval = ui::RoundedRectangle(CGSize{20, 5}).path(square);
    EXPECT_FALSE(oval.contains({3, 0.5}));
    EXPECT_TRUE(oval.contains({0.5, 6}));
}

TEST(ShapeTest, InsetShrinksEveryEdgeAndTheCorners) {
    expectRect(ui::Rectangle().inset(3).path(square).boundingRect(), {{3, 3}, {34, 34}});
    expectRect(ui::Circle().inset(2).inset(3).path({{0, 0}, {40, 20}}).boundingRect(), {{15, 5}, {10, 10}});
    expectRect(ui::Capsule().inset(-2).path(square).boundingRect(), {{-2, -2}, {44, 44}});

    // The inset outline runs parallel: the corner radius shrinks by the same amount.
    EXPECT_EQ(ui::RoundedRectangle(10, RoundedCornerStyle::continuous).inset(4).path(square),
              Path::roundedRect({{4, 4}, {32, 32}}, 6, RoundedCornerStyle::continuous));
    EXPECT_EQ(ui::RoundedRectangle(3).inset(4).path(square), Path(CGRect{{4, 4}, {32, 32}}));

    // Nothing left to draw.
    EXPECT_TRUE(ui::Circle().inset(25).path(square).isEmpty());
    EXPECT_TRUE(ui::RoundedRectangle(5).inset(21).path(square).isEmpty());
}

TEST(ShapeTest, StrokeBorderStaysInsideWhileStrokeStraddlesTheEdge) {
    const ui::StrokeStyle style{.lineWidth = 4};
    const CGRect inner{{10, 10}, {20, 20}};
    expectRect(CGRect::fromQRectF(ui::strokePath(ui::Rectangle(), inner, style).boundingRect()),
               {{8, 8}, {24, 24}});
    expectRect(CGRect::fromQRectF(ui::strokeBorderPath(ui::Rectangle(), inner, style).boundingRect()), inner);

    const QImage border = pathpixels::fill(
        ui::strokeBorderPath(ui::RoundedRectangle(6, RoundedCornerStyle::continuous), inner, style));
    EXPECT_TRUE(covered(border, 20, 11));
    EXPECT_FALSE(covered(border, 20, 9));
    EXPECT_FALSE(covered(border, 20, 15));

    EXPECT_TRUE(ui::strokeBorderPath(ui::Circle(), inner, {.lineWidth = 0}).isEmpty());
}

TEST(ShapeTest, AnyShapeDrawsWhatItHolds) {
    const ui::AnyShape triangle = Triangle();
    EXPECT_EQ(triangle.path(square), Triangle().path(square));
    const ui::AnyShape circle = ui::Circle().inset(5);
    EXPECT_EQ(circle.path(square), ui::Circle().inset(5).path(square));
}
