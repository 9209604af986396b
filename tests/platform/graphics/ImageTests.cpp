#include "graphics/Image.h"

#include <foundation/Bundle.h>

#include "TemporaryFolder.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using graphics::CGSize;
using graphics::Image;

namespace {

QImage pixels(int width, int height, QColor colour = Qt::red) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

void savePng(const QImage& image, const std::filesystem::path& path) {
    ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(ImageTest, PointSizeIsPixelSizeOverScaleAndZeroWhenNull) {
    const Image image(pixels(64, 30), 2);
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), (CGSize{32, 15}));
    EXPECT_EQ(image.pixelSize(), QSize(64, 30));
    EXPECT_EQ(image.scale(), 2);
    EXPECT_EQ(image.qImage().pixelColor(0, 0), QColor(Qt::red));

    EXPECT_EQ(Image(pixels(10, 10), 3).size().width, 10.0 / 3);
    for (double scale : {0.0, -2.0, std::nan("")})
        EXPECT_EQ(Image(pixels(8, 4), scale).size(), (CGSize{8, 4})) << scale;

    EXPECT_TRUE(Image().isNull());
    EXPECT_EQ(Image(QImage(), 2).size(), CGSize::zero);
}

TEST(ImageTest, LoadsAFileAndGivesNullForWhatDoesNotDecode) {
    testing_support::TemporaryFolder folder;
    savePng(pixels(6, 4, Qt::blue), folder.path() / "tile.png");
    const Image loaded = Image::contentsOfFile(folder.path() / "tile.png", 2);
    EXPECT_EQ(loaded.size(), (CGSize{3, 2}));
    EXPECT_EQ(loaded.qImage().pixelColor(5, 3), QColor(Qt::blue));

    EXPECT_TRUE(Image::contentsOfFile(folder.path() / "missing.png").isNull());
    EXPECT_TRUE(Image::contentsOfFile(folder.path()).isNull());
    writeBytes(folder.path() / "corrupt.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not really an image");
    EXPECT_TRUE(Image::contentsOfFile(folder.path() / "corrupt.png").isNull());
    writeBytes(folder.path() / "empty.png", "");
    EXPECT_TRUE(Image::contentsOfFile(folder.path() / "empty.png").isNull());
}

namespace {

const foundation::Bundle& bundleAt(const std::filesystem::path& folder) {
    static std::vector<std::shared_ptr<foundation::Bundle>> opened;
    opened.push_back(foundation::Bundle::withPath(folder));
    return *opened.back();
}

} // namespace

TEST(ImageTest, NamedPrefersTheDoubleScaleFile) {
    testing_support::TemporaryFolder folder;
    savePng(pixels(16, 8, Qt::green), folder.path() / "icon@2x.png");
    savePng(pixels(8, 4, Qt::red), folder.path() / "icon.png");
    savePng(pixels(5, 5), folder.path() / "plain.png");

    const Image icon = Image::named(bundleAt(folder.path()), "icon");
    EXPECT_EQ(icon.scale(), 2);
    EXPECT_EQ(icon.size(), (CGSize{8, 4}));
    EXPECT_EQ(icon.qImage().pixelColor(0, 0), QColor(Qt::green));

    const Image plain = Image::named(bundleAt(folder.path()), "plain");
    EXPECT_EQ(plain.scale(), 1);
    EXPECT_EQ(plain.size(), (CGSize{5, 5}));

    EXPECT_TRUE(Image::named(bundleAt(folder.path()), "absent").isNull());
    EXPECT_TRUE(Image::named(bundleAt(folder.path()), "").isNull());
}

TEST(ImageTest, NamedPassesOverUndecodableFilesAndPaths) {
    testing_support::TemporaryFolder folder;
    writeBytes(folder.path() / "badge@2x.png", "garbage");
    savePng(pixels(4, 4), folder.path() / "badge.png");
    EXPECT_EQ(Image::named(bundleAt(folder.path()), "badge").scale(), 1);

    writeBytes(folder.path() / "broken.png", "garbage");
    EXPECT_TRUE(Image::named(bundleAt(folder.path()), "broken").isNull());

    std::filesystem::create_directory(folder.path() / "sub");
    savePng(pixels(4, 4), folder.path() / "sub" / "deep.png");
    EXPECT_TRUE(Image::named(bundleAt(folder.path() / "sub"), "../badge").isNull());
    EXPECT_TRUE(Image::named(bundleAt(folder.path() / "sub"), std::string_view("deep\0x", 6)).isNull());
}
