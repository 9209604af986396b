// Text drawn through a perspective transform: from a picture of its glyphs, which must show
// where, as large and in the colour the glyphs themselves would.
#include "graphics/ProjectionTransform.h"
#include "ui/Font.h"
#include "ui/GeometryEffect.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

// Magnifies about the top left corner, with a perspective too slight to see (or none).
struct Tilt {
    double scale = 1;
    double perspective = 0;
    graphics::ProjectionTransform effectValue(graphics::CGSize) const {
        return {scale, 0, perspective, 0, scale, 0, 0, 0, 1};
    }
};

QImage shown(Tilt tilt, QColor color = Qt::black) {
    const ui::View text = ui::View(
        ui::Text("Perspective 123").font(ui::Font::custom("DejaVu Sans", 14)).foregroundColor(color));
    ui::TestHost host(text.modifier(tilt).frame(400, 200, ui::Alignment::topLeading), {400, 200});
    return host.render().convertToFormat(QImage::Format_ARGB32);
}

// The box of the pixels that are not white.
QRect ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
}

// The mean difference of the grey levels over the box, 0 to 255.
double meanDifference(const QImage& a, const QImage& b, const QRect& box) {
    double sum = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / (box.width() * box.height());
}

} // namespace

TEST(TextInPerspectiveTest, ShowsWhereAsLargeAndInTheColourOfTheGlyphs) {
    for (double scale : {1.0, 3.0}) {
        const QImage flat = shown({scale, 0});
        const QImage tilted = shown({scale, 1e-9});
        const QRect box = ink(flat);
        ASSERT_FALSE(box.isEmpty());
        const QRect tiltedBox = ink(tilted);
        EXPECT_LE(std::abs(tiltedBox.left() - box.left()), 1) << scale;
        EXPECT_LE(std::abs(tiltedBox.right() - box.right()), 1) << scale;
        EXPECT_LE(std::abs(tiltedBox.top() - box.top()), 1) << scale;
        EXPECT_LE(std::abs(tiltedBox.bottom() - box.bottom()), 1) << scale;
        // A picture too coarse for the magnification would smear the edges.
        EXPECT_LT(meanDifference(flat, tilted, box), 6) << scale;
    }
    const QImage red = shown({1, 1e-9}, Qt::red);
    int redPixels = 0;
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x) {
            const QRgb p = red.pixel(x, y);
            if (p == qRgb(255, 255, 255)) continue;
            EXPECT_EQ(qRed(p), 255);
            EXPECT_EQ(qGreen(p), qBlue(p));
            redPixels += qGreen(p) < 64;
        }
    EXPECT_GT(redPixels, 50);
}
