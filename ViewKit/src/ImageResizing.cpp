#include "ViewKit/ImageResizing.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ViewKit {

namespace {

constexpr double longestSide = 16384;

ImagePointer nullImage() {
    return std::make_shared<const graphics::Image>();
}

bool usable(const ImagePointer& image) {
    return image && !image->isNull() && image->size().width > 0 && image->size().height > 0;
}

bool usableSide(double points) {
    return std::isfinite(points) && points > 0 && std::round(points) <= longestSide;
}

} // namespace

ImagePointer resized(const ImagePointer& image, graphics::CGSize size) {
    if (!usable(image) || !usableSide(size.width) || !usableSide(size.height)) return nullImage();
    // A side under half a pixel still gets one.
    const int width = std::max(1, int(std::lround(size.width)));
    const int height = std::max(1, int(std::lround(size.height)));
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull()) return nullImage();
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QRectF(0, 0, width, height), image->qImage());
    painter.end();
    return std::make_shared<const graphics::Image>(std::move(pixels));
}

ImagePointer resizedToWidth(const ImagePointer& image, double width) {
    if (!usable(image)) return nullImage();
    const auto source = image->size();
    return resized(image, {width, width / source.width * source.height});
}

ImagePointer resizedToHeight(const ImagePointer& image, double height) {
    if (!usable(image)) return nullImage();
    const auto source = image->size();
    return resized(image, {height / source.height * source.width, height});
}

ImagePointer downscaledToMaxWidth(const ImagePointer& image, double width) {
    if (image && image->size().width < width) return image;
    return resizedToWidth(image, width);
}

ImagePointer downscaledToMaxHeight(const ImagePointer& image, double height) {
    if (image && image->size().height < height) return image;
    return resizedToHeight(image, height);
}

std::optional<std::vector<std::uint8_t>> jpegData(const ImagePointer& image, double compressionFactor) {
    if (!image || image->isNull()) return std::nullopt;
    const double factor = std::isnan(compressionFactor) ? 0 : std::clamp(compressionFactor, 0.0, 1.0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(int(std::lround(factor * 100)));
    if (!writer.write(image->qImage())) return std::nullopt;
    const QByteArray& bytes = buffer.data();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::optional<std::vector<std::uint8_t>> jpegData(const ImagePointer& image, double width,
                                                  double compressionFactor) {
    return jpegData(resizedToWidth(image, width), compressionFactor);
}

} // namespace ViewKit
