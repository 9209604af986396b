#include "ui/Renderer.h"

#include <QPaintDevice>

#include <cmath>
#include <type_traits>

namespace ui {

namespace {

// An offscreen surface the size of the device, so layers never grow past what is visible.
QImage surfaceFor(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const qreal ratio = device->devicePixelRatioF();
    QImage image(QSize(int(std::ceil(device->width() * ratio)), int(std::ceil(device->height() * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

void paintLayerContent(const DisplayList::Layer& layer, QPainter& painter) {
    painter.setTransform(layer.style.transform, true);
    if (layer.style.clip) painter.setClipPath(*layer.style.clip, Qt::IntersectClip);
    render(*layer.content, painter);
}

void paintLayer(const DisplayList::Layer& layer, QPainter& painter) {
    if (!layer.style.needsOffscreen()) {
        painter.save();
        paintLayerContent(layer, painter);
        painter.restore();
        return;
    }
    QImage content = surfaceFor(painter);
    {
        QPainter inner(&content);
        inner.setRenderHints(painter.renderHints());
        inner.setTransform(painter.transform());
        paintLayerContent(layer, inner);
        if (layer.style.mask) {
            QImage mask = surfaceFor(painter);
            {
                QPainter maskPainter(&mask);
                maskPainter.setRenderHints(painter.renderHints());
                maskPainter.setTransform(painter.transform());
                maskPainter.setTransform(layer.style.transform, true);
                render(*layer.style.mask, maskPainter);
            }
            inner.resetTransform();
            inner.setClipping(false);
            inner.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            inner.drawImage(QPointF(0, 0), mask);
        }
    }
    painter.save();
    painter.resetTransform();
    painter.setOpacity(painter.opacity() * layer.style.opacity);
    painter.setCompositionMode(layer.style.blendMode);
    painter.drawImage(QPointF(0, 0), content);
    painter.restore();
}

} // namespace

void render(const DisplayList& list, QPainter& painter) {
    for (const auto& item : list.items()) {
        std::visit(
            [&](const auto& it) {
                using T = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<T, DisplayList::Fill>) {
                    painter.fillPath(it.path, it.brush);
                } else if constexpr (std::is_same_v<T, DisplayList::Stroke>) {
                    painter.strokePath(it.path, it.pen);
                } else if constexpr (std::is_same_v<T, DisplayList::Image>) {
                    painter.drawImage(it.target, it.image);
                } else if constexpr (std::is_same_v<T, DisplayList::Draw>) {
                    painter.save();
                    it.paint(painter);
                    painter.restore();
                } else {
                    paintLayer(it, painter);
                }
            },
            item);
    }
}

QImage renderImage(const DisplayList& list, QSize size, qreal devicePixelRatio, QColor background) {
    QImage image(QSize(int(std::ceil(size.width() * devicePixelRatio)),
                       int(std::ceil(size.height() * devicePixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    render(list, painter);
    return image;
}

} // namespace ui
