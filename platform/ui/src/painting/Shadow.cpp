#include "ui/Shadow.h"

#include "ui/Blur.h"

#include "painting/ShadowCache.h"

#include <QSize>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ui {
namespace {

int roundedOffset(double points, double scale) {
    const double pixels = std::round(points * scale);
    if (!std::isfinite(pixels)) return 0;
    constexpr double limit = 1 << 24; // far past any surface; keeps rect arithmetic in range
    return static_cast<int>(std::clamp(pixels, -limit, limit));
}

// Whether a blur of `sigma` leaves content of `size` below half a level everywhere. The peak
// along an axis is at most length / (sigma * sqrt(2 pi)); this bound leaves out the sqrt(2 pi), a
// margin for the box passes' rounding.
bool invisiblySpread(QSize size, double sigma) {
    if (!(sigma > 0)) return false;
    const double peak = 255 * std::min(1.0, size.width() / sigma) * std::min(1.0, size.height() / sigma);
    return peak < 0.5;
}

// The alpha of `rect` of `image`, row after row.
QByteArray coverageOf(const QImage& image, const QRect& rect) {
    QByteArray out(qsizetype(rect.width()) * rect.height(), Qt::Uninitialized);
    auto* dst = reinterpret_cast<uchar*>(out.data());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + rect.left();
        for (int x = 0; x < rect.width(); ++x)
            dst[x] = uchar(src[x] >> 24);
        dst += rect.width();
    }
    return out;
}

} // namespace

ShadowImage castShadow(const QImage& layer, const Shadow& shadow, double scale, const QRect& bounds) {
    if (layer.isNull() || shadow.color.alpha() == 0) return {};
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
    const double sigma = blurSigma(shadow.radius, scale);
    const int reach = blurReach(sigma);
    const QPoint shift(roundedOffset(shadow.x, scale), roundedOffset(shadow.y, scale));

    const QRect cast = layer.rect().translated(shift);
    const QRect visible = cast.adjusted(-reach, -reach, reach, reach).intersected(bounds);
    if (visible.isEmpty()) return {};
    // The layer's pixels whose blur reaches the visible part. Coverage elsewhere is empty, and the
    // blur takes what lies beyond its image as empty too, so the work spans just the visible part
    // and that content: a wide blur costs no more than the pixels involved.
    const QRect content = cast.intersected(visible.adjusted(-reach, -reach, reach, reach));
    if (content.isEmpty() || invisiblySpread(content.size(), sigma)) return {};
    const QRect work = visible.united(content);

    const QImage source = layer.format() == QImage::Format_ARGB32_Premultiplied
                              ? layer
                              : layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb tint = shadow.color.rgba();
    detail::ShadowKey key{coverageOf(source, content.translated(-shift)), content.size(),
                          visible.translated(-content.topLeft()), sigma, tint};
    if (auto cached = detail::shadowCache::find(key)) return {*cached, visible.topLeft()};

    QImage coverage(work.size(), QImage::Format_Alpha8);
    if (coverage.isNull()) return {};
    coverage.fill(0);
    const QPoint at = content.topLeft() - work.topLeft();
    for (int y = 0; y < content.height(); ++y)
        std::memcpy(coverage.scanLine(y + at.y()) + at.x(), key.coverage.constData() + y * content.width(),
                    content.width());
    gaussianBlur(coverage, sigma);

    QImage result(visible.size(), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull()) return {};
    // Coverage takes 256 values: each maps to the colour times it, both out of 255, rounded.
    QRgb shades[256];
    const std::uint32_t a = qAlpha(tint), r = qRed(tint) * a, g = qGreen(tint) * a, b = qBlue(tint) * a;
    for (std::uint32_t c = 0; c < 256; ++c) {
        constexpr std::uint32_t square = 255 * 255, half = square / 2;
        shades[c] = qRgba(static_cast<int>((r * c + half) / square), static_cast<int>((g * c + half) / square),
                          static_cast<int>((b * c + half) / square),
                          static_cast<int>((a * 255 * c + half) / square));
    }
    for (int y = 0; y < visible.height(); ++y) {
        const uchar* src =
            coverage.constScanLine(y + visible.top() - work.top()) + (visible.left() - work.left());
        auto* dst = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < visible.width(); ++x)
            dst[x] = shades[src[x]];
    }
    detail::shadowCache::insert(std::move(key), result);
    return {result, visible.topLeft()};
}

} // namespace ui
