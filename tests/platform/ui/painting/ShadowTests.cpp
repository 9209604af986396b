#include "ui/Shadow.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// A 40 × 40 layer with an opaque 10 × 10 square at (15, 15).
QImage squareLayer() {
    QImage layer(40, 40, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    for (int y = 15; y < 25; ++y)
        for (int x = 15; x < 25; ++x)
            layer.setPixel(x, y, qRgba(0, 200, 0, 255));
    return layer;
}

// The shadow's pixel at a point of the layer's coordinates.
QRgb at(const ui::ShadowImage& shadow, int x, int y) {
    const QPoint p = QPoint(x, y) - shadow.offset;
    return shadow.image.rect().contains(p) ? shadow.image.pixel(p) : 0;
}

const QRect everywhere(-1000, -1000, 2000, 2000);

TEST(ShadowTest, SharpShadowIsTheLayersShapeMovedByTheOffsetInPixels) {
    const ui::Shadow shadow{.color = QColor(255, 0, 0), .radius = 0, .x = 3, .y = -2};
    const auto cast = ui::castShadow(squareLayer(), shadow, 2, everywhere);
    ASSERT_FALSE(cast.isNull());
    EXPECT_EQ(cast.offset, QPoint(6, -4));
    EXPECT_EQ(at(cast, 15 + 6, 15 - 4), qRgba(255, 0, 0, 255));
    EXPECT_EQ(at(cast, 24 + 6, 24 - 4), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(at(cast, 14 + 6, 15 - 4)), 0);
    EXPECT_EQ(qAlpha(at(cast, 15, 15)), 0);
}

TEST(ShadowTest, BlurredShadowSpreadsInItsColourAndOpacity) {
    const ui::Shadow shadow{.color = QColor(0, 0, 255, 128), .radius = 2, .x = 0, .y = 0};
    const auto cast = ui::castShadow(squareLayer(), shadow, 1, everywhere);
    ASSERT_FALSE(cast.isNull());
    // Grown by the blur's reach on every side.
    EXPECT_EQ(cast.image.size(), QSize(40 + 12, 40 + 12));
    EXPECT_EQ(cast.offset, QPoint(-6, -6));
    const QRgb middle = at(cast, 20, 20);
    EXPECT_NEAR(qAlpha(middle), 128, 6);
    EXPECT_EQ(qRed(middle), 0);
    EXPECT_EQ(qBlue(middle), qAlpha(middle));
    EXPECT_GT(qAlpha(at(cast, 13, 20)), 0); // spread past the square's edge
    EXPECT_EQ(qAlpha(at(cast, 20 - 12, 20)), 0);
}

TEST(ShadowTest, OnlyTheVisiblePartIsMade) {
    const ui::Shadow shadow{.radius = 3, .x = 0, .y = 0};
    const QRect surface(18, 18, 5, 5);
    const auto cast = ui::castShadow(squareLayer(), shadow, 1, surface);
    ASSERT_FALSE(cast.isNull());
    EXPECT_EQ(QRect(cast.offset, cast.image.size()), surface);
    // The same pixels as the whole shadow has there.
    const auto whole = ui::castShadow(squareLayer(), shadow, 1, everywhere);
    EXPECT_EQ(at(cast, 20, 20), at(whole, 20, 20));
    EXPECT_EQ(at(cast, 18, 22), at(whole, 18, 22));

    EXPECT_TRUE(ui::castShadow(squareLayer(), shadow, 1, QRect(500, 500, 10, 10)).isNull());
    EXPECT_TRUE(
        ui::castShadow(squareLayer(), {.color = Qt::transparent, .radius = 2}, 1, everywhere).isNull());
    EXPECT_TRUE(ui::castShadow(QImage(), shadow, 1, everywhere).isNull());
}

} // namespace

namespace {

TEST(ShadowTest, WideBlursWorkOnlyOnThePixelsInvolved) {
    // A surface far off to the side: its pixels are still those of the whole shadow.
    const ui::Shadow wide{.color = Qt::black, .radius = 12, .x = 0, .y = 0};
    const QRect aside(45, 15, 6, 10);
    const auto part = ui::castShadow(squareLayer(), wide, 1, aside);
    const auto whole = ui::castShadow(squareLayer(), wide, 1, everywhere);
    ASSERT_FALSE(part.isNull());
    EXPECT_EQ(QRect(part.offset, part.image.size()), aside);
    EXPECT_GT(qAlpha(at(whole, 45, 20)), 0);
    for (int y = aside.top(); y <= aside.bottom(); ++y)
        for (int x = aside.left(); x <= aside.right(); ++x)
            ASSERT_EQ(at(part, x, y), at(whole, x, y)) << x << "," << y;

    // A blur far wider than the layer leaves nothing to see, and makes nothing.
    EXPECT_TRUE(ui::castShadow(squareLayer(), {.radius = 1e4, .x = 1e4, .y = 1e4}, 1, everywhere).isNull());
    EXPECT_TRUE(ui::castShadow(squareLayer(), {.radius = 5e3}, 2, everywhere).isNull());
}

} // namespace

namespace {

// Shadows are kept for content that does not change; whatever changes what they depend on
// casts a new one, also when the layer is the same image changed in place.
TEST(ShadowTest, AChangedLayerOrShadowCastsANewShadow) {
    const ui::Shadow shadow{.color = QColor(0, 0, 255), .radius = 2, .x = 0, .y = 0};
    QImage layer = squareLayer();
    const auto first = ui::castShadow(layer, shadow, 1, everywhere);
    EXPECT_GT(qAlpha(at(first, 20, 20)), 200);
    EXPECT_EQ(at(ui::castShadow(layer, shadow, 1, everywhere), 20, 20), at(first, 20, 20));

    for (int y = 15; y < 25; ++y)
        for (int x = 15; x < 25; ++x)
            layer.setPixel(x, y, 0);
    layer.setPixel(5, 5, qRgba(0, 200, 0, 255));
    const auto moved = ui::castShadow(layer, shadow, 1, everywhere);
    EXPECT_EQ(qAlpha(at(moved, 20, 20)), 0);
    EXPECT_GT(qAlpha(at(moved, 5, 5)), 0);

    auto red = shadow;
    red.color = QColor(255, 0, 0);
    const QRgb recoloured = at(ui::castShadow(squareLayer(), red, 1, everywhere), 20, 20);
    EXPECT_GT(qRed(recoloured), 200);
    EXPECT_EQ(qBlue(recoloured), 0);
    auto wider = shadow;
    wider.radius = 4;
    EXPECT_LT(qAlpha(at(ui::castShadow(squareLayer(), wider, 1, everywhere), 15, 15)),
              qAlpha(at(first, 15, 15)) + 1);
    EXPECT_GT(qAlpha(at(ui::castShadow(squareLayer(), wider, 1, everywhere), 9, 20)), qAlpha(at(first, 9, 20)));
}

} // namespace
