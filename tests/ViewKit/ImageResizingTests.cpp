#include "ViewKit/ImageCache.h"
#include "ViewKit/ImageResizing.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

using ViewKit::ImagePointer;

namespace {

// A gradient, so JPEG sizes depend on the quality.
ImagePointer picture(int width, int height, double scale = 1) {
    QImage pixels(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * y) % 256));
    return std::make_shared<const graphics::Image>(std::move(pixels), scale);
}

QSize pixelSize(const ImagePointer& image) {
    return image ? image->pixelSize() : QSize();
}

} // namespace

TEST(ImageResizingTest, SizesFollowTheTargetAndTheAspectRatio) {
    const auto wide = picture(200, 100);
    EXPECT_EQ(pixelSize(ViewKit::resizedToWidth(wide, 50)), QSize(50, 25));
    EXPECT_EQ(pixelSize(ViewKit::resizedToHeight(wide, 10)), QSize(20, 10));
    EXPECT_EQ(pixelSize(ViewKit::resized(wide, {30, 70})), QSize(30, 70));
    EXPECT_EQ(pixelSize(ViewKit::resizedToWidth(wide, 33)), QSize(33, 17)); // 16.5 rounds up
    // A scale-2 image of 200 × 100 pixels is 100 × 50 points; the copy has scale 1.
    const auto sharp = ViewKit::resizedToWidth(picture(200, 100, 2), 100);
    EXPECT_EQ(pixelSize(sharp), QSize(100, 50));
    EXPECT_EQ(sharp->scale(), 1);
    EXPECT_EQ(wide->pixelSize(), QSize(200, 100)); // the source is unchanged

    EXPECT_EQ(ViewKit::downscaledToMaxWidth(wide, 201), wide);
    const auto same = ViewKit::downscaledToMaxWidth(wide, 200);
    EXPECT_NE(same, wide);
    EXPECT_EQ(pixelSize(same), QSize(200, 100));
    EXPECT_EQ(ViewKit::downscaledToMaxHeight(wide, 101), wide);
    EXPECT_EQ(pixelSize(ViewKit::downscaledToMaxHeight(wide, 50)), QSize(100, 50));
}

TEST(ImageResizingTest, UnusableSizesGiveTheNullImage) {
    const auto wide = picture(200, 100);
    const auto empty = std::make_shared<const graphics::Image>();
    for (const auto& result :
         {ViewKit::resizedToWidth(empty, 50), ViewKit::resizedToWidth(wide, 0),
          ViewKit::resizedToWidth(wide, NAN), ViewKit::resizedToWidth(wide, -4),
          ViewKit::resized(wide, {INFINITY, 4}), ViewKit::resized(wide, {20000, 4}),
          ViewKit::resizedToHeight(nullptr, 4), ViewKit::downscaledToMaxWidth(wide, NAN)}) {
        ASSERT_TRUE(result);
        EXPECT_TRUE(result->isNull());
    }
}

TEST(ImageResizingTest, JPEGBytesDecodeAtTheSizeAndQualityShrinksThem) {
    const auto photo = picture(400, 300);
    const auto best = ViewKit::jpegData(photo, 1);
    const auto worst = ViewKit::jpegData(photo, 0);
    ASSERT_TRUE(best && worst);
    EXPECT_LT(worst->size(), best->size());
    EXPECT_EQ(ViewKit::jpegData(photo, 7)->size(), best->size()); // clamped

    const auto small = ViewKit::jpegData(photo, 80, 0.8);
    ASSERT_TRUE(small);
    const QImage decoded = QImage::fromData(small->data(), int(small->size()), "JPEG");
    EXPECT_EQ(decoded.size(), QSize(80, 60));

    EXPECT_EQ(ViewKit::jpegData(nullptr, 1), std::nullopt);
    EXPECT_EQ(ViewKit::jpegData(std::make_shared<const graphics::Image>(), 1), std::nullopt);
    EXPECT_EQ(ViewKit::jpegData(photo, 0, 1), std::nullopt);
}

TEST(ImageCacheTest, EntriesAreReplacedAndRemoved) {
    ViewKit::ImageCache cache;
    EXPECT_EQ(cache.image("a"), nullptr);
    const auto first = picture(2, 2);
    const auto second = picture(3, 3);
    cache.setImage(first, "a");
    cache.setImage(second, "a");
    EXPECT_EQ(cache.image("a"), second);
    cache.removeImage("missing");
    EXPECT_EQ(cache.cache().size(), 1u);
    cache.removeImage("a");
    EXPECT_EQ(cache.image("a"), nullptr);
}
