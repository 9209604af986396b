#include "ViewKit/ScanCodeImage.h"

#include <ZXing/ReadBarcode.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <string>

using ViewKit::ScanCodeType;

namespace {

// The bytes a decoder reads from the image, or nothing.
std::optional<std::string> decoded(const graphics::Image& image) {
    const QImage gray = image.qImage().convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setIsPure(true);
    const auto result =
        ZXing::ReadBarcode(ZXing::ImageView(gray.constBits(), gray.width(), gray.height(),
                                            ZXing::ImageFormat::Lum, int(gray.bytesPerLine())),
                           hints);
    if (!result.isValid()) return std::nullopt;
    return std::string(result.bytes().begin(), result.bytes().end());
}

} // namespace

TEST(ScanCodeTypeTest, RawValuesNamesAndFilters) {
    EXPECT_EQ(ViewKit::scanCodeTypeFromRawValue("aztek"), ScanCodeType::aztek);
    EXPECT_EQ(ViewKit::scanCodeTypeFromRawValue("aztec"), std::nullopt);
    EXPECT_EQ(ViewKit::scanCodeTypeFromRawValue("QR"), std::nullopt);
    std::vector<std::string> names;
    for (const auto type : ViewKit::allScanCodeTypes) {
        names.push_back(ViewKit::displayName(type));
        EXPECT_EQ(ViewKit::scanCodeTypeFromRawValue(ViewKit::id(type)), type);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Aztek", "Code128", "Pdf417", "Qr"}));
    EXPECT_EQ(ViewKit::ciFilterName(ScanCodeType::pdf417), "CIPDF417BarcodeGenerator");
}

TEST(ScanCodeImageTest, EachTypeScalesAndDecodesBackToItsText) {
    for (const auto type : ViewKit::allScanCodeTypes) {
        SCOPED_TRACE(std::string(ViewKit::rawValue(type)));
        const auto native = ViewKit::scanCodeImage("Quoril 42", type, 1);
        ASSERT_TRUE(native);
        const auto large = ViewKit::scanCodeImage("Quoril 42", type, 10);
        ASSERT_TRUE(large);
        EXPECT_EQ(large->pixelSize(), native->pixelSize() * 10);
        EXPECT_EQ(large->size().width, large->pixelSize().width()); // a point a pixel
        EXPECT_EQ(ViewKit::scanCodeImage("Quoril 42", type, 2.5)->pixelSize().width(),
                  std::lround(native->pixelSize().width() * 2.5));
        // Black modules on white, white at the corner (the quiet zone or a light module).
        EXPECT_EQ(large->qImage().pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(decoded(*large), "Quoril 42");
    }
    const std::string utf8 = "Grüße, 日本 🍎";
    EXPECT_EQ(decoded(*ViewKit::scanCodeImage(utf8, ScanCodeType::qr, 4)), utf8);
    EXPECT_TRUE(ViewKit::scanCodeView("x", ScanCodeType::qr, 1));
}

TEST(ScanCodeImageTest, NothingForTextTheCodeCannotHoldOrUnusableScales) {
    for (const auto type : ViewKit::allScanCodeTypes)
        EXPECT_EQ(ViewKit::scanCodeImage("", type, 1), nullptr) << ViewKit::rawValue(type);
    EXPECT_EQ(ViewKit::scanCodeImage(std::string(3000, 'x'), ScanCodeType::qr, 1), nullptr);
    for (const double scale : {0.0, -1.0, double(NAN), double(INFINITY), 1e6})
        EXPECT_EQ(ViewKit::scanCodeImage("x", ScanCodeType::qr, scale), nullptr) << scale;
    EXPECT_FALSE(ViewKit::scanCodeView("", ScanCodeType::qr, 1));
}

// The four codes side by side, written to the temporary folder (quoril-scan-codes.png) for
// looking at.
TEST(ScanCodeImageTest, FourCodesForTheEye) {
    int width = 0, height = 0;
    std::vector<std::shared_ptr<const graphics::Image>> images;
    for (const auto type : ViewKit::allScanCodeTypes) {
        images.push_back(ViewKit::scanCodeImage("https://quoril.org", type, 4));
        ASSERT_TRUE(images.back());
        width += images.back()->pixelSize().width() + 16;
        height = std::max(height, images.back()->pixelSize().height());
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::lightGray);
    QPainter painter(&sheet);
    int x = 0;
    for (const auto& image : images) {
        painter.drawImage(x, 0, image->qImage());
        x += image->pixelSize().width() + 16;
    }
    painter.end();
    EXPECT_TRUE(sheet.save(QDir::temp().filePath("quoril-scan-codes.png")));
}
