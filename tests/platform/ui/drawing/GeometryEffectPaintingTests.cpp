#include "TestBox.h"

#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace uitest;

namespace {

bool isBlue(QRgb pixel) {
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

// The rows of column x that show the card's colour.
int blueHeight(const QImage& image, int x) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += isBlue(image.pixel(x, y));
    return rows;
}

ui::View card() {
    return box(120, 80, "card", Qt::blue);
}

QImage paint(const ui::View& view) {
    ui::TestHost host(view, {200, 200});
    return host.render();
}

} // namespace

TEST(GeometryEffectPaintingTest, APerspectiveTurnDrawsTheNearSideLargerThanTheFar) {
    // Turned about y, the card's left side comes closer and its right side goes away.
    const QImage turned = paint(card().rotation3DEffect(ui::Angle::degrees(45), {0, 1, 0}));
    int left = 0;
    while (left < 200 && blueHeight(turned, left) == 0)
        ++left;
    int right = 199;
    while (right > 0 && blueHeight(turned, right) == 0)
        --right;
    ASSERT_LT(left, right);
    EXPECT_GT(blueHeight(turned, left + 2), 80);
    EXPECT_LT(blueHeight(turned, right - 2), 80);
    EXPECT_LT(right - left, 120) << "foreshortened";
    // Through a group opacity too, which paints offscreen.
    const QImage faded = paint(card().opacity(0.5).rotation3DEffect(ui::Angle::degrees(45), {0, 1, 0}));
    EXPECT_NE(faded.pixel(left + 2, 100), qRgb(255, 255, 255));
    EXPECT_EQ(faded.pixel(right + 5, 100), qRgb(255, 255, 255));
}

TEST(GeometryEffectPaintingTest, ContentPassingTheHorizonIsCutAtTheSurface) {
    // The left part of the card comes so close that it passes behind the eye: what is in front
    // fills the surface up to its left edge, and nothing of the part behind shows mirrored.
    for (bool shadowed : {false, true}) {
        ui::View content = card();
        if (shadowed) content = content.shadow(ui::Color::black, 4, 3, 3);
        const QImage image =
            paint(content.rotation3DEffect(ui::Angle::degrees(70), {0, 1, 0}, ui::UnitPoint::center, 0, 4));
        EXPECT_TRUE(isBlue(image.pixel(1, 100))) << shadowed;
        EXPECT_EQ(image.pixel(198, 100), qRgb(255, 255, 255)) << shadowed;
    }
}

TEST(GeometryEffectPaintingTest, AShadowOrBlurAroundAnEffectCoversAllItDraws) {
    // Scaled three times, the 20-point box spans 70 to 130; the shadow's layer must not stop at
    // the box's own frame.
    const QImage shadowed = paint(box(20, 20, "", Qt::blue).scaleEffect(3).shadow(ui::Color::black, 1, 0, 0));
    EXPECT_TRUE(isBlue(shadowed.pixel(73, 100)));
    EXPECT_TRUE(isBlue(shadowed.pixel(127, 73)));
    const QImage blurred = paint(box(20, 20, "", Qt::blue).offset(60, 0).blur(1));
    EXPECT_TRUE(isBlue(blurred.pixel(160, 100)));
}
