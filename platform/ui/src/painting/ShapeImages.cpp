#include "painting/ShapeImages.h"

#include "painting/RecentFew.h"
#include "painting/RecentlyUsed.h"

#include "ui/Blur.h"
#include "ui/OffscreenLayer.h"

#include <QHash>
#include <QPaintDevice>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace ui::detail {

namespace {

// A shape in device pixels, moved by whole pixels so that its bounds start within the first
// pixel: where it lies on the pixel grid changes its edges, where it lies on the device does not.
struct ShapeKey {
    QPainterPath path;
    quint64 color = 0; // as QRgba64
    bool antialiased = true;
    std::optional<Shadow> shadow; // in device pixels

    bool operator==(const ShapeKey&) const = default;
};

// The shape over its shadow, as one image: drawn at once, it blends each pixel once.
struct ShapePixels {
    QImage image;
    QPoint offset; // of its top left, relative to the shape's first pixel
};

constexpr std::size_t capacityInBytes = 16 * 1024 * 1024;
constexpr std::size_t capacityInEntries = 128;
constexpr qsizetype largestImage = 2 * 1024 * 1024;
constexpr qsizetype smallImage = 96 * 96 * 4;
// From about this many rows on the painter shares a translucent fill out among threads.
constexpr int threadedRows = 32;

struct ShapeBytes {
    std::size_t operator()(const ShapeKey&, const ShapePixels& pixels) const {
        return std::size_t(pixels.image.sizeInBytes());
    }
};

RecentlyUsed<ShapeKey, ShapePixels, ShapeBytes>& cache() {
    static RecentlyUsed<ShapeKey, ShapePixels, ShapeBytes> instance(capacityInBytes, capacityInEntries);
    return instance;
}

std::size_t hashOf(const ShapeKey& key) {
    std::size_t h =
        qHashMulti(0, key.color, key.antialiased, int(key.path.fillRule()), key.path.elementCount());
    for (int i = 0; i < key.path.elementCount(); ++i) {
        const auto e = key.path.elementAt(i);
        h = qHashMulti(h, e.x, e.y, int(e.type));
    }
    if (key.shadow)
        h = qHashMulti(h, key.shadow->color.rgba(), key.shadow->radius, key.shadow->x, key.shadow->y);
    return h;
}

// The painter's transform to device pixels, when it keeps axes apart.
std::optional<QTransform> axisAligned(const QPainter& painter) {
    if (!painter.isActive() || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    const QTransform toDevice = OffscreenLayer::surfaceTransform(painter);
    if (toDevice.type() > QTransform::TxScale) return std::nullopt;
    return toDevice;
}

bool isPlainRect(const QPainterPath& path) {
    QPainterPath plain;
    plain.addRect(path.boundingRect());
    return plain == path;
}

double ratioOf(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1;
}

// Only the transforms change, and are put back: saving the painter copies all of its state.
void drawDevicePixels(QPainter& painter, const QImage& pixels, QPoint devicePosition) {
    const double ratio = ratioOf(painter);
    QImage placed = pixels;
    placed.setDevicePixelRatio(ratio); // kept pixels are made at the painter's ratio: no copy
    const QTransform world = painter.worldTransform();
    const bool worldEnabled = painter.worldMatrixEnabled();
    const bool viewEnabled = painter.viewTransformEnabled();
    painter.setWorldTransform(QTransform());
    painter.setViewTransformEnabled(false);
    painter.drawImage(QPointF(devicePosition) / ratio, placed);
    painter.setViewTransformEnabled(viewEnabled);
    painter.setWorldTransform(world);
    painter.setWorldMatrixEnabled(worldEnabled);
}

// Premultiplied pixels times alpha / 255, rounded.
void fade(QImage& image, int alpha) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (p == 0) continue;
            const auto scaled = [alpha](int c) { return (c * alpha + 127) / 255; };
            line[x] = qRgba(scaled(qRed(p)), scaled(qGreen(p)), scaled(qBlue(p)), scaled(qAlpha(p)));
        }
    }
}

// The pixels of a shape `size` pixels large, and of its shadow when the key has one.
std::optional<ShapePixels> shapePixels(const ShapeKey& key, QSize size) {
    QImage fill(size, QImage::Format_ARGB32_Premultiplied);
    if (fill.isNull()) return std::nullopt;
    fill.fill(Qt::transparent);
    // A tall shape is filled opaque, then faded: the painter hands a translucent fill's rows to
    // other threads and waits for them, which on a busy machine costs more than the whole frame.
    // A low one is filled in its colour, so that its pixels blend as the painter's own would.
    const QColor color(QRgba64::fromRgba64(key.color));
    const bool faded = color.alpha() < 255 && size.height() >= threadedRows;
    QColor painted = color;
    if (faded) painted.setAlphaF(1);
    {
        QPainter inner(&fill);
        inner.setRenderHint(QPainter::Antialiasing, key.antialiased);
        inner.fillPath(key.path, painted);
    }
    if (faded) fade(fill, color.alpha());
    if (!key.shadow) return ShapePixels{fill, {}};
    // All of the shadow, so that any part of it can be drawn later.
    const int reach = blurReach(blurSigma(key.shadow->radius, 1)) + int(std::ceil(std::abs(key.shadow->x))) +
                      int(std::ceil(std::abs(key.shadow->y))) + 1;
    const auto shadow = castShadow(fill, *key.shadow, 1, fill.rect().adjusted(-reach, -reach, reach, reach));
    if (shadow.isNull()) return ShapePixels{fill, {}};
    const QRect whole = fill.rect().united(QRect(shadow.offset, shadow.image.size()));
    ShapePixels both{QImage(whole.size(), QImage::Format_ARGB32_Premultiplied), whole.topLeft()};
    if (both.image.isNull()) return std::nullopt;
    both.image.fill(Qt::transparent);
    QPainter inner(&both.image);
    inner.drawImage(shadow.offset - whole.topLeft(), shadow.image);
    inner.drawImage(-whole.topLeft(), fill);
    return both;
}

// Paints `fill` (and the shadow it casts, when given) from kept pixels, making them first when
// none are kept; false for a shape of fewer than `fewestRows` or more than `mostRows` rows of
// pixels, or of more than `largestBytes` of them.
bool paintKept(QPainter& painter, const DisplayList::Fill& fill, const std::optional<Shadow>& shadow,
               int fewestRows, qsizetype largestBytes = largestImage,
               int mostRows = std::numeric_limits<int>::max()) {
    const auto toDevice = axisAligned(painter);
    if (!toDevice || fill.brush.style() != Qt::SolidPattern || !fill.brush.transform().isIdentity())
        return false;
    // The same outline painted again in the same place (a list that did not move, a shape shared
    // from an earlier frame) is found without mapping and hashing it again.
    struct Placed {
        QPainterPath path;
        QTransform toDevice;
        quint64 color = 0;
        bool antialiased = true;
        bool operator==(const Placed&) const = default;
    };
    struct Found {
        ShapePixels pixels;
        QPoint origin;
        QSize size;
    };
    thread_local RecentFew<Placed, Found, 32> placedShapes;
    std::optional<Placed> placed;
    if (!shadow) {
        placed = Placed{fill.path, *toDevice, quint64(fill.brush.color().rgba64()),
                        painter.testRenderHint(QPainter::Antialiasing)};
        if (const Found* found = placedShapes.find(*placed)) {
            const QSize size = found->size;
            if (qsizetype(size.width()) * size.height() * 4 > largestBytes || size.height() < fewestRows ||
                size.height() > mostRows)
                return false;
            drawDevicePixels(painter, found->pixels.image, found->origin + found->pixels.offset);
            return true;
        }
    }
    // Axes stay apart, so the bounds map exactly and the outline is mapped only once.
    const QRectF bounds = toDevice->mapRect(fill.path.boundingRect());
    if (!std::isfinite(bounds.width()) || !std::isfinite(bounds.height())) return false;
    if (bounds.isEmpty()) return true;
    const QPoint origin(int(std::floor(bounds.left())), int(std::floor(bounds.top())));
    const QTransform toImage = *toDevice * QTransform::fromTranslate(-origin.x(), -origin.y());
    ShapeKey key{toImage.map(fill.path), quint64(fill.brush.color().rgba64()),
                 painter.testRenderHint(QPainter::Antialiasing), std::nullopt};
    const QSize size(int(std::ceil(bounds.right() - origin.x())),
                     int(std::ceil(bounds.bottom() - origin.y())));
    if (qsizetype(size.width()) * size.height() * 4 > largestBytes || size.height() < fewestRows ||
        size.height() > mostRows)
        return false;
    if (shadow) {
        // Offsets follow the device's axes; the blur grows with the mean stretch.
        Shadow inPixels = *shadow;
        inPixels.x = shadow->x * toDevice->m11();
        inPixels.y = shadow->y * toDevice->m22();
        inPixels.radius = shadow->radius * std::sqrt(std::abs(toDevice->m11() * toDevice->m22()));
        key.shadow = inPixels;
    }
    const std::size_t hash = hashOf(key);
    auto pixels = cache().find(key, hash);
    if (!pixels) {
        pixels = shapePixels(key, size);
        if (!pixels) return false;
        pixels->image.setDevicePixelRatio(ratioOf(painter));
        cache().insert(std::move(key), hash, *pixels);
    }
    // Only small ones, so that the few kept here hold little beyond the store's own budget.
    if (placed && pixels->image.sizeInBytes() <= smallImage)
        placedShapes.insert(std::move(*placed), Found{*pixels, origin, size});
    drawDevicePixels(painter, pixels->image, origin + pixels->offset);
    return true;
}

} // namespace

bool paintsFromImage(const DisplayList::Fill& fill, const QPainter& painter) {
    const QColor color = fill.brush.color();
    return fill.brush.style() == Qt::SolidPattern && color.alpha() > 0 && color.alpha() < 255 &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver && !isPlainRect(fill.path);
}

bool paintsCurvedFromImage(const DisplayList::Fill& fill, const QPainter& painter) {
    if (fill.brush.style() != Qt::SolidPattern || fill.brush.color().alpha() == 0 || painter.opacity() < 1 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    for (int i = 0; i < fill.path.elementCount(); ++i) {
        if (fill.path.elementAt(i).type == QPainterPath::CurveToElement) return true;
    }
    return false;
}

bool paintCurvedFillImage(QPainter& painter, const DisplayList::Fill& fill) {
    // Large shapes are mostly inside, which the painter fills faster than it blends an image. A
    // tall translucent one is painted apart by the renderer.
    constexpr qsizetype largestCurved = smallImage;
    const int mostRows = fill.brush.color().alpha() < 255 ? threadedRows - 1 : std::numeric_limits<int>::max();
    return paintKept(painter, fill, std::nullopt, 0, largestCurved, mostRows);
}

bool paintFillImage(QPainter& painter, const DisplayList::Fill& fill) {
    // A few rows the painter fills at once; from a couple of dozen on it shares them out.
    return paintKept(painter, fill, std::nullopt, 16);
}

bool paintFillWithShadow(QPainter& painter, const DisplayList::Fill& fill, const Shadow& shadow) {
    return paintKept(painter, fill, shadow, 0);
}

} // namespace ui::detail
