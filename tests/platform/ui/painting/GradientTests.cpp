#include "ui/Gradient.h"
#include "ui/StyleContext.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using ui::Angle;
using ui::AngularGradient;
using ui::Color;
using ui::Gradient;
using ui::LinearGradient;
using ui::RadialGradient;
using ui::StyleContext;
using ui::UnitPoint;

namespace {

const Color red(1, 0, 0);
const Color blue(0, 0, 1);

QImage paint(const QBrush& brush, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), brush);
    return image;
}

template <ui::ShapeStyle S> QImage paint(const S& style, QSize size, const StyleContext& context = {}) {
    return paint(style.brush(context, QRectF(QPointF(0, 0), QSizeF(size))), size);
}

// Channels 0-255 and alpha, compared with a tolerance of a few steps.
void expectPixel(const QImage& image, int x, int y, int r, int g, int b, int a, int tolerance = 4) {
    const QColor c = image.pixelColor(x, y);
    SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y << " is " << c.red() << " " << c.green()
                                    << " " << c.blue() << " " << c.alpha());
    EXPECT_NEAR(c.alpha(), a, tolerance);
    if (a == 0) return;
    EXPECT_NEAR(c.red(), r, tolerance);
    EXPECT_NEAR(c.green(), g, tolerance);
    EXPECT_NEAR(c.blue(), b, tolerance);
}

int alphaAt(const QImage& image, int x, int y = 0) {
    return image.pixelColor(x, y).alpha();
}

} // namespace

TEST(GradientTest, LinearRunsBetweenItsUnitPoints) {
    const QImage across =
        paint(LinearGradient({red, blue}, UnitPoint::leading, UnitPoint::trailing), {100, 4});
    expectPixel(across, 0, 1, 254, 0, 1, 255);
    expectPixel(across, 50, 1, 127, 0, 128, 255, 6);
    expectPixel(across, 99, 1, 1, 0, 254, 255);

    // Top to bottom, stops given out of order.
    const QImage down = paint(
        LinearGradient(std::vector<Gradient::Stop>{{blue, 1}, {red, 0}}, UnitPoint::top, UnitPoint::bottom),
        {4, 100});
    expectPixel(down, 2, 0, 254, 0, 1, 255);
    expectPixel(down, 2, 99, 1, 0, 254, 255);

    // From the centre: the leading half keeps the first colour.
    const QImage half = paint(LinearGradient({red, blue}, UnitPoint::center, UnitPoint::trailing), {100, 4});
    expectPixel(half, 10, 1, 255, 0, 0, 255);
    expectPixel(half, 45, 1, 255, 0, 0, 255);
}

TEST(GradientTest, StopsOutsideTheUnitRangeAndHardEdgesKeepTheirPlaces) {
    // A wipe mask: opaque behind the front at q, clear ahead of it, with a hard edge.
    const auto mask = [](double q) {
        return LinearGradient(
            std::vector<Gradient::Stop>{
                {Color::black, -1}, {Color::black, q}, {Color::clear, q}, {Color::clear, 2}},
            UnitPoint::leading, UnitPoint::trailing);
    };
    const QImage front = paint(mask(0.5), {200, 1});
    EXPECT_EQ(alphaAt(front, 2), 255);
    EXPECT_EQ(alphaAt(front, 97), 255);
    EXPECT_EQ(alphaAt(front, 103), 0);
    EXPECT_EQ(alphaAt(front, 197), 0);
    const QImage hidden = paint(mask(0), {200, 1});
    EXPECT_EQ(alphaAt(hidden, 3), 0);
    EXPECT_EQ(alphaAt(hidden, 199), 0);
    const QImage shown = paint(mask(1.6), {200, 1});
    EXPECT_EQ(alphaAt(shown, 0), 255);
    EXPECT_EQ(alphaAt(shown, 199), 255);

    // A band of colour from p + 0.01 to 1.6p + 0.01 between transparent stops of the same colour.
    const double p = 0.5, q = 1.6 * p;
    const Color band = Color::white;
    const Color t = band.opacity(0);
    const QImage light =
        paint(LinearGradient(
                  std::vector<Gradient::Stop>{
                      {t, -1}, {t, p}, {band, p + 0.01}, {band, q + 0.01}, {t, q + 0.02}, {t, 2}},
                  UnitPoint::leading, UnitPoint::trailing),
              {200, 1});
    EXPECT_EQ(alphaAt(light, 80), 0);
    expectPixel(light, 130, 0, 255, 255, 255, 255);
    EXPECT_EQ(alphaAt(light, 170), 0);
}

TEST(GradientTest, ColoursResolveInTheContextAndFadeWithIt) {
    const LinearGradient text({Color::primary, Color::primary}, UnitPoint::leading, UnitPoint::trailing);
    const QImage dark = paint(text, {10, 1}, {.colorScheme = ui::ColorScheme::dark});
    expectPixel(dark, 5, 0, 255, 255, 255, 217);
    const QImage light = paint(text, {10, 1});
    expectPixel(light, 5, 0, 0, 0, 0, 217);

    const QImage faded = paint(LinearGradient({red, blue}, UnitPoint::leading, UnitPoint::trailing), {100, 1},
                               {.opacity = 0.5});
    expectPixel(faded, 0, 0, 255, 0, 0, 128);
    const QImage viaStyle =
        paint(LinearGradient({red, blue}, UnitPoint::leading, UnitPoint::trailing).opacity(0.5), {100, 1});
    EXPECT_EQ(viaStyle, faded);
}

TEST(GradientTest, DegenerateGradientsPaintNothingOrOneColour) {
    const StyleContext context;
    const QRectF bounds(0, 0, 10, 10);
    EXPECT_EQ(
        LinearGradient(Gradient(), UnitPoint::leading, UnitPoint::trailing).brush(context, bounds).style(),
        Qt::NoBrush);
    // NaN locations are left out.
    EXPECT_EQ(LinearGradient(std::vector<Gradient::Stop>{{red, NAN}}, UnitPoint::leading, UnitPoint::trailing)
                  .brush(context, bounds)
                  .style(),
              Qt::NoBrush);
    const QBrush single =
        LinearGradient({red}, UnitPoint::leading, UnitPoint::trailing).brush(context, bounds);
    EXPECT_EQ(single.style(), Qt::SolidPattern);
    EXPECT_EQ(single.color(), QColor(255, 0, 0));
    const QBrush point =
        LinearGradient({red, blue}, UnitPoint::center, UnitPoint::center).brush(context, bounds);
    EXPECT_EQ(point.color(), QColor(0, 0, 255));
    EXPECT_EQ(RadialGradient({red, blue}, UnitPoint::center, 5, 5).brush(context, bounds).color(),
              QColor(0, 0, 255));

    // All stops at one place: a hard edge there.
    const QImage edge = paint(LinearGradient(std::vector<Gradient::Stop>{{red, 0.5}, {blue, 0.5}},
                                             UnitPoint::leading, UnitPoint::trailing),
                              {100, 1});
    expectPixel(edge, 45, 0, 255, 0, 0, 255);
    expectPixel(edge, 55, 0, 0, 0, 255, 255);
}

TEST(GradientTest, RadialGrowsFromItsStartRadius) {
    const QImage disc = paint(RadialGradient({red, blue}, UnitPoint::center, 10, 40), {100, 100});
    expectPixel(disc, 50, 50, 255, 0, 0, 255);
    expectPixel(disc, 55, 50, 255, 0, 0, 255);
    expectPixel(disc, 74, 50, 127, 0, 128, 255, 8); // radius 24.5: half way
    expectPixel(disc, 95, 50, 0, 0, 255, 255);
    expectPixel(disc, 2, 2, 0, 0, 255, 255);

    // Shrinking rings: the first colour is outside.
    const QImage inverse = paint(RadialGradient({red, blue}, UnitPoint::center, 40, 10), {100, 100});
    expectPixel(inverse, 50, 50, 0, 0, 255, 255);
    expectPixel(inverse, 95, 50, 255, 0, 0, 255);

    // Rings start at radius 0, where the colours have already run half way.
    const QImage crossing = paint(RadialGradient({red, blue}, UnitPoint::center, -20, 20), {100, 100});
    expectPixel(crossing, 50, 50, 127, 0, 128, 255, 8);
    expectPixel(crossing, 60, 50, 64, 0, 191, 255, 8);
    expectPixel(crossing, 75, 50, 0, 0, 255, 255);
}

TEST(GradientTest, AngularTurnsClockwiseFromItsStartAngle) {
    constexpr double pi = std::numbers::pi;
    const QImage full = paint(
        AngularGradient({red, blue}, UnitPoint::center, Angle::zero(), Angle::radians(2 * pi)), {100, 100});
    expectPixel(full, 90, 52, 250, 0, 5, 255, 8);  // just clockwise of the trailing side
    expectPixel(full, 90, 47, 5, 0, 250, 255, 8);  // just before a full turn
    expectPixel(full, 50, 90, 191, 0, 64, 255, 8); // a quarter turn, below the centre
    expectPixel(full, 10, 50, 127, 0, 128, 255, 8);

    // A quarter sweep: the gap is the end colour up to its middle, then the start colour.
    const QImage quarter = paint(
        AngularGradient({red, blue}, UnitPoint::center, Angle::zero(), Angle::radians(pi / 2)), {100, 100});
    expectPixel(quarter, 78, 78, 127, 0, 128, 255, 10); // 45 degrees
    expectPixel(quarter, 10, 52, 0, 0, 255, 255);       // just past 180 degrees
    expectPixel(quarter, 90, 30, 255, 0, 0, 255);       // about 330 degrees

    // Counter-clockwise from the bottom.
    const QImage back = paint(
        AngularGradient({red, blue}, UnitPoint::center, Angle::radians(pi / 2), Angle::zero()), {100, 100});
    expectPixel(back, 52, 95, 250, 0, 5, 255, 10);
    expectPixel(back, 78, 78, 127, 0, 128, 255, 10);
    expectPixel(back, 95, 48, 5, 0, 250, 255, 10);
}
