#include "desktop/DockTile.h"
#include "desktop/ImageView.h"

#include <gtest/gtest.h>

using namespace desktop;

namespace {

graphics::Image solid(int width, int height, QColor color, double scale = 1) {
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(color);
    return graphics::Image(pixels, scale);
}

} // namespace

TEST(DockTileTest, RendersItsImageViewFittedAndCentred) {
    DockTile tile;
    EXPECT_EQ(tile.render().pixel(64, 64), qRgba(0, 0, 0, 0));

    // 512×256 pixels at scale 2 is 256×128 points: fitted into 128 points it is 128×64, centred.
    tile.setContentView(ImageView::imageViewWithImage(solid(512, 256, Qt::blue, 2)));
    const QImage image = tile.render(2);
    ASSERT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(QColor(image.pixel(128, 128)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(2, 70)), QColor(Qt::blue));
    EXPECT_EQ(qAlpha(image.pixel(128, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(128, 245)), 0);
}

TEST(DockTileTest, DisplayCountsAndTellsTheHost) {
    DockTile tile;
    int told = 0;
    tile.setDisplayHandler([&] {
        ++told;
        EXPECT_NE(tile.contentView(), nullptr); // the handler may read the tile
    });
    tile.setContentView(ImageView::imageViewWithImage(solid(4, 4, Qt::red)));
    tile.display();
    tile.display();
    EXPECT_EQ(tile.displayCount(), 2u);
    EXPECT_EQ(told, 2);
}
