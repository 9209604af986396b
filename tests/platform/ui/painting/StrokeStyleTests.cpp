#include "ui/StrokeStyle.h"

#include "PathPixels.h"
#include "ui/Path.h"

#include <QPainterPathStroker>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using graphics::CGLineCap;
using graphics::CGLineJoin;
using graphics::CGPoint;
using pathpixels::covered;
using ui::Path;
using ui::StrokeStyle;

namespace {

Path line(CGPoint from, CGPoint to) {
    Path path;
    path.move(from);
    path.addLine(to);
    return path;
}

QImage stroked(const Path& path, const StrokeStyle& style) {
    return pathpixels::fill(path.strokedPath(style).toQPainterPath());
}

// Two lines meeting at (100, 100) at `degrees` apart, opening to the left.
Path vee(double degrees) {
    const double spread = 100 * std::tan(degrees * std::numbers::pi / 360);
    Path path;
    path.move({0, 100 - spread});
    path.addLine({100, 100});
    path.addLine({0, 100 + spread});
    return path;
}

} // namespace

TEST(StrokeStyleTest, CapsExtendTheEndsAsNamed) {
    const Path segment = line({10, 20}, {30, 20});
    const QImage butt = stroked(segment, {.lineWidth = 6, .lineCap = CGLineCap::butt});
    const QImage square = stroked(segment, {.lineWidth = 6, .lineCap = CGLineCap::square});
    const QImage round = stroked(segment, {.lineWidth = 6, .lineCap = CGLineCap::round});
    for (const QImage* image : {&butt, &square, &round})
        EXPECT_TRUE(covered(*image, 20, 17));
    // Just past the end.
    EXPECT_FALSE(covered(butt, 8, 20));
    EXPECT_TRUE(covered(square, 8, 20));
    EXPECT_TRUE(covered(round, 8, 20));
    // Past the end and off to the side: only the square cap reaches.
    EXPECT_FALSE(covered(butt, 7, 17));
    EXPECT_TRUE(covered(square, 7, 17));
    EXPECT_FALSE(covered(round, 7, 17));
}

TEST(StrokeStyleTest, JoinsShapeTheOuterCorner) {
    Path corner = line({10, 30}, {30, 30});
    corner.addLine({30, 10});
    const QImage miter = stroked(corner, {.lineWidth = 8, .lineJoin = CGLineJoin::miter});
    const QImage bevel = stroked(corner, {.lineWidth = 8, .lineJoin = CGLineJoin::bevel});
    const QImage round = stroked(corner, {.lineWidth = 8, .lineJoin = CGLineJoin::round});
    EXPECT_TRUE(covered(miter, 33, 33));
    EXPECT_FALSE(covered(bevel, 33, 33));
    EXPECT_FALSE(covered(round, 33, 33));
    EXPECT_TRUE(covered(round, 32, 32));
    EXPECT_FALSE(covered(bevel, 32, 32));
}

TEST(StrokeStyleTest, MiterLimitIsTheRatioOfTheWholeMiterToTheWidth) {
    // The miter of a corner of angle a is 1 / sin(a / 2) widths long: 5.76 at 20 degrees.
    const double fullTip = 100 + 5 / std::sin(10 * std::numbers::pi / 180);
    EXPECT_NEAR(vee(20).strokedPath({.lineWidth = 10}).boundingRect().maxX(), fullTip, 1e-6);
    EXPECT_LT(vee(20).strokedPath({.lineWidth = 10, .miterLimit = 5}).boundingRect().maxX(), 102);
    // 19.1 widths at 6 degrees: over the default limit, so bevelled.
    EXPECT_LT(vee(6).strokedPath({.lineWidth = 10}).boundingRect().maxX(), 102);
}

TEST(StrokeStyleTest, DashesAreMeasuredInPoints) {
    const Path segment = line({0, 5}, {40, 5});
    const QImage dashed = stroked(segment, {.lineWidth = 2, .dash = {5, 5}});
    EXPECT_TRUE(covered(dashed, 2, 5));
    EXPECT_FALSE(covered(dashed, 7, 5));
    EXPECT_TRUE(covered(dashed, 12, 5));

    const QImage shifted = stroked(segment, {.lineWidth = 2, .dash = {5, 5}, .dashPhase = 5});
    EXPECT_FALSE(covered(shifted, 2, 5));
    EXPECT_TRUE(covered(shifted, 7, 5));

    // One length repeats as dash and gap alike.
    EXPECT_EQ(pathpixels::differingCount(stroked(segment, {.lineWidth = 2, .dash = {5}}), dashed), 0);

    // A pattern that cannot be drawn gives a solid line.
    for (const StrokeStyle& solid :
         {StrokeStyle{.lineWidth = 2, .dash = {5, -1}}, StrokeStyle{.lineWidth = 2, .dash = {0, 0}},
          StrokeStyle{.lineWidth = 2, .dash = {5, std::nan("")}}})
        EXPECT_TRUE(covered(stroked(segment, solid), 7, 5));
}

TEST(StrokeStyleTest, PenDrawsWhatTheStrokedPathFills) {
    Path path = line({4, 30}, {20, 6});
    path.addLine({36, 30});
    const StrokeStyle style{.lineWidth = 3,
                            .lineCap = CGLineCap::round,
                            .lineJoin = CGLineJoin::miter,
                            .dash = {6, 3},
                            .dashPhase = 2};
    const QImage filled = stroked(path, style);
    const QImage drawn = pathpixels::draw(path.toQPainterPath(), style.toQPen(Qt::black));
    EXPECT_GT(pathpixels::coveredCount(filled), 80);
    EXPECT_LE(pathpixels::differingCount(filled, drawn), 8);
}

TEST(StrokeStyleTest, AWidthThatIsNotPositiveDrawsNothing) {
    const Path segment = line({0, 5}, {40, 5});
    for (double width : {0.0, -1.0, std::nan(""), double(INFINITY)}) {
        const StrokeStyle style{.lineWidth = width};
        EXPECT_TRUE(style.drawsNothing());
        EXPECT_EQ(style.toQPen(Qt::black).style(), Qt::NoPen);
        EXPECT_TRUE(segment.strokedPath(style).isEmpty());

        // Qt's stroker never finishes a dash it cannot measure in widths.
        QPainterPathStroker stroker;
        StrokeStyle{.lineWidth = width, .dash = {2, 2}, .dashPhase = 1}.configure(stroker);
        for (qreal length : stroker.dashPattern())
            EXPECT_TRUE(std::isfinite(length)) << width;
        EXPECT_TRUE(std::isfinite(stroker.dashOffset())) << width;
    }
    // Nor one that overflows when measured in widths.
    QPainterPathStroker stroker;
    StrokeStyle{.lineWidth = 1e-300, .dash = {1e300}}.configure(stroker);
    for (qreal length : stroker.dashPattern())
        EXPECT_TRUE(std::isfinite(length));
}
