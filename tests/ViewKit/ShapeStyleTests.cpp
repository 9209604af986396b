#include "TestBox.h"

#include "ViewKit/CustomRoundedRectangle.h"
#include "ViewKit/ViewShadowStyle.h"

#include "ui/Color.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <QImage>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using graphics::CGRect;
using ViewKit::CustomRoundedRectangle;

QPainterPath outline(CustomRoundedRectangle shape, CGRect rect) {
    return shape.path(rect).toQPainterPath();
}

// The layer's red, not some other colour or a blend with the white background.
bool isRed(QRgb pixel) {
    const QColor c(pixel);
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}

bool inside(const QPainterPath& path, double x, double y) {
    return path.contains(QPointF(x, y));
}

// Twice the signed area of the flattened outline: positive when it runs clockwise on screen
// (y grows downward).
double signedArea(const QPainterPath& path) {
    const QPolygonF polygon = path.toFillPolygon();
    double sum = 0;
    for (int i = 0; i + 1 < polygon.size(); ++i)
        sum += polygon[i].x() * polygon[i + 1].y() - polygon[i + 1].x() * polygon[i].y();
    return sum;
}

struct Corner {
    std::shared_ptr<double> radius;
    ui::View body(ui::ViewContext& ctx) const {
        auto r = ctx.state<double>("radius", 0.0);
        *radius = r.value();
        return ui::VStack({CustomRoundedRectangle(r.value(), r.value(), r.value(), r.value())
                               .fill(ui::Color::red)
                               .frame(40, 40)
                               .onTapGesture(1, [r] { ui::withAnimation(ui::Animation::linear(1), [&] { r.set(20); }); })});
    }
};

} // namespace

TEST(CustomRoundedRectangleTest, RadiiAreClampedToHalfTheShorterSideAndNeverBelowZero) {
    const CustomRoundedRectangle huge(100, 100, 100, 100);
    const CustomRoundedRectangle ten(10, 10, 10, 10);
    EXPECT_EQ(outline(huge, {0, 0, 40, 20}), outline(ten, {0, 0, 40, 20}));
    EXPECT_EQ(outline(huge, {0, 0, 20, 40}), outline(ten, {0, 0, 20, 40}));

    const auto square = outline({0, 0, 0, 0}, {0, 0, 40, 20});
    EXPECT_TRUE(inside(square, 0.3, 0.3));
    EXPECT_TRUE(inside(square, 39.7, 19.7));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(outline({-5, nan, -5, nan}, {0, 0, 40, 20}), square) << "negative and NaN radii count as 0";

    const auto diagonal = outline({8, 0, 0, 8}, {0, 0, 40, 20});
    EXPECT_FALSE(inside(diagonal, 0.5, 0.5)) << "top left rounded";
    EXPECT_TRUE(inside(diagonal, 39.5, 0.5)) << "top right square";
    EXPECT_TRUE(inside(diagonal, 0.5, 19.5)) << "bottom left square";
    EXPECT_FALSE(inside(diagonal, 39.5, 19.5)) << "bottom right rounded";
}

TEST(CustomRoundedRectangleTest, TheOutlineStartsAtTheTopMiddleOfItsRectAndRunsClockwise) {
    const auto path = outline({4, 4, 4, 4}, {10, 10, 40, 20});
    ASSERT_GT(path.elementCount(), 2);
    EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(30, 10));
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(46, 10)) << "along the top edge to the right";
    EXPECT_GT(signedArea(path), 0) << "clockwise on screen";
    EXPECT_EQ(path.boundingRect(), QRectF(10, 10, 40, 20));

    // Laid out away from the window's corner, it paints where it was laid out.
    ui::TestHost host(ui::VStack({CustomRoundedRectangle(4, 4, 4, 4).fill(ui::Color::red).frame(40, 20)})
                          .padding(ui::EdgeInsets{30, 50, 0, 0})
                          .frame(200, 100, ui::Alignment::topLeading),
                      {200, 100});
    const QImage image = host.render();
    EXPECT_TRUE(isRed(image.pixel(70, 40)));
    EXPECT_EQ(QColor(image.pixel(10, 10)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(50, 30)), QColor(Qt::white)) << "the rounded corner";
}

TEST(CustomRoundedRectangleTest, ARadiusChangedInAnAnimationJumps) {
    auto radius = std::make_shared<double>(0);
    ui::TestHost host(ui::View(Corner{radius}), {40, 40});
    EXPECT_TRUE(isRed(host.render().pixel(1, 1)));
    host.tap(graphics::CGPoint{20, 20});
    host.stepFrame();
    EXPECT_EQ(*radius, 20);
    EXPECT_EQ(QColor(host.render().pixel(3, 3)), QColor(Qt::white)) << "already fully round one frame in";
}

TEST(ViewShadowStyleTest, AnAbsentColourIsTheStandardShadowAndNoneShowsNothing) {
    const auto render = [](const ui::View& view) {
        ui::TestHost shadowed(view, {70, 70});
        return shadowed.render();
    };
    const auto card = [] { return ui::View(uitest::box(30, 30)); };
    const QImage standard = render(card() | ViewKit::shadow(ViewKit::ViewShadowStyle::medium()));
    const QImage explicitBlack =
        render(card() | ViewKit::shadow({ui::Color::black.opacity(0.33), 3, 0, 2}));
    EXPECT_EQ(standard, explicitBlack);
    EXPECT_NE(QColor(standard.pixel(35, 52)), QColor(Qt::white)) << "a shadow below the box";

    EXPECT_EQ(render(card() | ViewKit::shadow(ViewKit::ViewShadowStyle::none())), render(card()));
    EXPECT_EQ(ViewKit::ViewShadowStyle::listCard(),
              (ViewKit::ViewShadowStyle{ui::Color::black.opacity(0.2), 2, 0, 2}));
}
