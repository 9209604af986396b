#include "ui/Renderer.h"

#include "IsolatedBounds.h"
#include "ui/OffscreenLayer.h"

#include "painting/LayerShortcuts.h"
#include "painting/ShapeImages.h"

#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
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

void renderItem(const DisplayList::Item& item, QPainter& painter);

// Composited this way, fully transparent pixels leave the destination as it is.
bool transparentLeavesDestination(QPainter::CompositionMode mode) {
    switch (mode) {
    case QPainter::CompositionMode_SourceOver:
    case QPainter::CompositionMode_DestinationOver:
    case QPainter::CompositionMode_SourceAtop:
    case QPainter::CompositionMode_DestinationOut:
    case QPainter::CompositionMode_Xor:
    case QPainter::CompositionMode_Plus:
        return true;
    default:
        return mode >= QPainter::CompositionMode_Multiply && mode <= QPainter::CompositionMode_Exclusion;
    }
}

// A clear colour (say a shape filled with `Color::clear` to take clicks) changes no pixel, yet the
// rasteriser would still walk every pixel it covers.
bool paintsNothing(const QPainter& painter, const QBrush& brush) {
    if (!transparentLeavesDestination(painter.compositionMode())) return false;
    if (painter.opacity() <= 0 || brush.style() == Qt::NoBrush) return true;
    return brush.style() == Qt::SolidPattern && brush.color().alpha() == 0;
}

// Qt copies an opaque solid colour straight, but blends a translucent one (or one under an
// opacity) on worker threads once a shape spans a few dozen rows, and starting them costs many
// times the blending. Such a shape is painted opaque apart and composited at its alpha: the
// same pixels within rounding, several times faster.
template <class Paint>
bool paintedOpaqueApart(QPainter& painter, const QBrush& brush, const QRectF& reach, Paint paint) {
    constexpr qreal tallShape = 32; // device pixels
    // Only onto pixels: a vector device keeps its shapes.
    if (brush.style() != Qt::SolidPattern ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const qreal alpha = brush.color().alphaF();
    if (alpha <= 0 || painter.opacity() <= 0 || (alpha >= 1 && painter.opacity() >= 1)) return false;
    if (painter.deviceTransform().mapRect(reach).height() < tallShape) return false;
    OffscreenLayer apart(painter, reach, 1);
    if (apart.isEmpty()) return true;
    QColor opaque = brush.color();
    opaque.setAlphaF(1);
    paint(apart.painter(), opaque);
    apart.composite(QPainter::CompositionMode_SourceOver, alpha);
    return true;
}

void fillPath(QPainter& painter, const QPainterPath& path, const QBrush& brush) {
    if (paintsNothing(painter, brush)) return;
    if (!paintedOpaqueApart(painter, brush, path.controlPointRect(),
                            [&](QPainter& apart, const QColor& opaque) { apart.fillPath(path, opaque); }))
        painter.fillPath(path, brush);
}

void strokePath(QPainter& painter, const QPainterPath& path, const QPen& pen) {
    // How far the outline may reach past the path: half the width, more at sharp mitred
    // corners and square caps. A cosmetic width is in device pixels, unknown here.
    const qreal mitre = pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin
                            ? std::max<qreal>(pen.miterLimit(), 1.5)
                            : 1.5;
    const qreal reach = pen.widthF() / 2 * mitre;
    if (pen.style() == Qt::NoPen || paintsNothing(painter, pen.brush())) return;
    if (pen.isCosmetic() ||
        !paintedOpaqueApart(painter, pen.brush(),
                            path.controlPointRect().adjusted(-reach, -reach, reach, reach),
                            [&](QPainter& apart, const QColor& opaque) {
                                QPen recoloured = pen;
                                recoloured.setColor(opaque);
                                apart.strokePath(path, recoloured);
                            }))
        painter.strokePath(path, pen);
}

void renderItems(const std::vector<DisplayList::Item>& items, QPainter& painter) {
    for (const auto& item : items)
        renderItem(item, painter);
}

void paintLayerContent(const DisplayList::Layer& layer, QPainter& painter) {
    painter.setTransform(layer.style.transform, true);
    if (layer.style.clip) painter.setClipPath(*layer.style.clip, Qt::IntersectClip);
    render(*layer.content, painter);
}

// Paints a layer that needs no offscreen pixels. Painting leaves the painter's state as it found
// it, so a layer without a clip only adds its transform for a while: saving and restoring the
// painter copies all of its state, which costs more than many a small shape.
void paintLayerInPlace(const DisplayList::Layer& layer, QPainter& painter) {
    if (layer.style.clip) {
        painter.save();
        paintLayerContent(layer, painter);
        painter.restore();
        return;
    }
    if (layer.style.transform.isIdentity()) {
        render(*layer.content, painter);
        return;
    }
    const QTransform outer = painter.worldTransform();
    painter.setWorldTransform(layer.style.transform, true);
    render(*layer.content, painter);
    painter.setWorldTransform(outer);
}

void applyColorFilters(const DisplayList::LayerStyle& style, OffscreenLayer& offscreen) {
    for (const auto& filter : style.colorFilters)
        offscreen.applyColorMatrix(filter.matrix());
}

void applyColorFilters(const DisplayList::LayerStyle& style, QImage& image) {
    for (const auto& filter : style.colorFilters)
        applyColorMatrix(image, filter.matrix());
}

// A fill, stroke or image touches each pixel once, so painting it straight with a layer's
// opacity and blend mode gives what painting it apart and compositing it would, without the
// offscreen pixels.
bool paintsEachPixelOnce(const DisplayList& list) {
    if (list.items().size() != 1) return false;
    const auto& item = list.items().front();
    if (std::holds_alternative<DisplayList::Fill>(item) ||
        std::holds_alternative<DisplayList::Stroke>(item) || std::holds_alternative<DisplayList::Image>(item))
        return true;
    const auto* layer = std::get_if<DisplayList::Layer>(&item);
    return layer && layer->content && !layer->style.needsOffscreen() && paintsEachPixelOnce(*layer->content);
}

// A colour matrix that keeps alpha and maps each straight colour whatever its alpha: applied to
// a solid colour it gives what applying it to the pixels that colour paints would (edges
// included, as their colour is the same with less alpha).
bool mapsColourAlone(const ColorMatrix& matrix) {
    if (matrix.premultiplied || matrix.rows[3] != ColorMatrix::Row{0, 0, 0, 1, 0}) return false;
    return matrix.rows[0][3] == 0 && matrix.rows[1][3] == 0 && matrix.rows[2][3] == 0;
}

// The one solid fill a list paints, through layers that paint nothing apart; null when it paints
// anything else.
const DisplayList::Fill* onlySolidFill(const DisplayList& list) {
    if (list.items().size() != 1) return nullptr;
    const auto& item = list.items().front();
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item))
        return fill->brush.style() == Qt::SolidPattern && fill->brush.transform().isIdentity() ? fill
                                                                                               : nullptr;
    const auto* layer = std::get_if<DisplayList::Layer>(&item);
    if (!layer || !layer->content || layer->style.needsOffscreen()) return nullptr;
    return onlySolidFill(*layer->content);
}

// Paints a list that onlySolidFill found, with its colour filtered.
void paintFilteredFill(const DisplayList& list, QPainter& painter, const std::vector<ColorFilter>& filters) {
    const auto& item = list.items().front();
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item)) {
        const QColor color = fill->brush.color();
        std::array<float, 4> straight{float(color.redF()), float(color.greenF()), float(color.blueF()),
                                      float(color.alphaF())};
        for (const auto& filter : filters)
            straight = filter.matrix().apply(straight);
        fillPath(painter, fill->path, QColor::fromRgbF(straight[0], straight[1], straight[2], straight[3]));
        return;
    }
    const auto& layer = std::get<DisplayList::Layer>(item);
    painter.save();
    painter.setTransform(layer.style.transform, true);
    if (layer.style.clip) painter.setClipPath(*layer.style.clip, Qt::IntersectClip);
    paintFilteredFill(*layer.content, painter, filters);
    painter.restore();
}

// Premultiplied pixels whose colour is the blurred colour but whose coverage is the
// original's, so an opaque blur does not fade where the content ends.
QImage keepingCoverage(const QImage& blurred, const QImage& original) {
    QImage result = blurred.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* before = reinterpret_cast<const QRgb*>(original.constScanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int a = qAlpha(line[x]);
            const int wanted = qAlpha(before[x]);
            if (a == 0) {
                line[x] = 0;
                continue;
            }
            auto scaled = [&](int c) { return std::min(wanted, (c * wanted + a / 2) / a); };
            line[x] = qRgba(scaled(qRed(line[x])), scaled(qGreen(line[x])), scaled(qBlue(line[x])), wanted);
        }
    }
    return result;
}

void drawDevicePixels(QPainter& painter, const QImage& pixels, QPoint position,
                      QPainter::CompositionMode mode, qreal opacity) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    QImage placed = pixels;
    placed.setDevicePixelRatio(ratio);
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setViewTransformEnabled(false);
    painter.setCompositionMode(mode);
    painter.setOpacity(painter.opacity() * opacity);
    painter.drawImage(QPointF(position) / ratio, placed);
    painter.restore();
}

// A shadow alone, over content painted as it is.
bool castsPlainShadow(const DisplayList::LayerStyle& style) {
    return style.shadow && style.blurRadius <= 0 && style.opacity >= 1 &&
           style.blendMode == QPainter::CompositionMode_SourceOver && !style.isolated && !style.mask &&
           !style.shader && style.colorFilters.empty() && !style.clip && style.transform.isIdentity();
}

// Blurs and shadows reach past what the content covers, so they get a layer around the
// content's bounds grown by their reach. The content may paint outside the frame it was given
// (moved, scaled or turned by a geometry effect), so what it paints counts too.
void paintSpreadingLayer(const DisplayList::Layer& layer, QPainter& painter) {
    const auto& style = layer.style;
    const auto bounds = [&] {
        const QRectF painted = layer.contentBounds();
        if (painted.isEmpty()) return style.bounds;
        return style.bounds.isEmpty() ? painted : style.bounds.united(painted);
    };
    if (castsPlainShadow(style)) {
        // Content whose coverage is one opaque shape casts that shape's shadow: only the shape
        // is painted apart, and what lies on it goes straight onto the target. What lies under
        // it is hidden by it.
        // So does a translucent shape under content whose shadow would not show.
        const auto items = detail::directItems(*layer.content, painter.deviceTransform());
        auto base = detail::silhouette(items, painter.deviceTransform());
        if (!base && detail::castsShadowAlone(items, painter.deviceTransform(), *style.shadow, style.reach())) base = 0;
        if (base) {
            // The shape and its shadow come from pixels kept by shape when the painter allows.
            if (!detail::paintFillWithShadow(painter, std::get<DisplayList::Fill>(items[*base]), *style.shadow)) {
                OffscreenLayer shape(painter, bounds(), style.reach());
                if (shape.isEmpty()) return;
                renderItem(items[*base], shape.painter());
                shape.drawShadow(*style.shadow);
                shape.composite();
            }
            painter.save();
            for (auto it = items.begin() + std::ptrdiff_t(*base) + 1; it != items.end(); ++it)
                renderItem(*it, painter);
            painter.restore();
            return;
        }
    }
    OffscreenLayer offscreen(painter, bounds(), style.reach());
    if (offscreen.isEmpty()) return;
    paintLayerContent(layer, offscreen.painter());
    applyColorFilters(style, offscreen);
    if (style.blurRadius > 0 && style.blurOpaque) {
        offscreen.blur(0); // ends painting, so the pixels can be read
        const QImage original = offscreen.image().copy();
        offscreen.blur(style.blurRadius);
        drawDevicePixels(painter, keepingCoverage(offscreen.image(), original),
                         offscreen.deviceRect().topLeft(), style.blendMode, style.opacity);
        return;
    }
    if (style.blurRadius > 0) offscreen.blur(style.blurRadius);
    if (style.shadow) offscreen.drawShadow(*style.shadow);
    offscreen.composite(style.blendMode, style.opacity);
}

// A masked layer whose content stays inside known bounds (a shape's clip) needs pixels only
// there, not the whole surface.
void paintBoundedMaskedLayer(const DisplayList::Layer& layer, QPainter& painter) {
    constexpr qreal edge = 1; // room for the antialiased rim
    OffscreenLayer content(painter, layer.style.bounds, edge);
    if (content.isEmpty()) return;
    OffscreenLayer mask(painter, layer.style.bounds, edge);
    paintLayerContent(layer, content.painter());
    applyColorFilters(layer.style, content);
    mask.painter().setTransform(layer.style.transform, true);
    render(*layer.style.mask, mask.painter());
    mask.blur(0); // ends painting, so the pixels can be read
    QPainter& inner = content.painter();
    inner.save();
    inner.resetTransform();
    inner.setClipping(false);
    inner.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    inner.drawImage(QPoint(0, 0), mask.image());
    inner.restore();
    content.composite(layer.style.blendMode, layer.style.opacity);
}

// Only the pixels inside the bounds are shaded, so only they are painted.
void paintShadedLayer(const DisplayList::Layer& layer, QPainter& painter) {
    OffscreenLayer offscreen(painter, layer.style.bounds);
    if (offscreen.isEmpty()) return;
    paintLayerContent(layer, offscreen.painter());
    layer.style.shader->run(offscreen.pixels(), offscreen.deviceRect().topLeft(),
                            layer.style.transform * OffscreenLayer::surfaceTransform(painter));
    offscreen.composite(layer.style.blendMode, layer.style.opacity);
}

void paintLayer(const DisplayList::Layer& layer, QPainter& painter) {
    // Composited at no opacity, a layer leaves every pixel as it was, whatever its blend mode.
    if (layer.style.opacity <= 0 && layer.style.blendMode < QPainter::RasterOp_SourceOrDestination) return;
    if (!layer.style.colorFilters.empty()) {
        if (const auto folded = detail::foldingColorFilters(layer)) {
            paintLayer(*folded, painter);
            return;
        }
    }
    if (layer.style.shader) {
        paintShadedLayer(layer, painter);
        return;
    }
    if (layer.style.spreads()) {
        paintSpreadingLayer(layer, painter);
        return;
    }
    if (layer.style.mask) {
        if (const auto items = detail::maskedDirectly(layer, painter.deviceTransform())) {
            painter.save();
            for (const auto& item : *items) {
                // A background clipped to its own shape is painted from pixels kept by shape.
                const auto* fill = std::get_if<DisplayList::Fill>(&item);
                if (!fill || !detail::paintsFromImage(*fill, painter) || !detail::paintFillImage(painter, *fill))
                    renderItem(item, painter);
            }
            painter.restore();
            return;
        }
    }
    if (layer.style.mask && !layer.style.bounds.isEmpty()) {
        paintBoundedMaskedLayer(layer, painter);
        return;
    }
    if (layer.style.mask) {
        // What is masked shows only where both the content and the mask paint: only those pixels
        // are painted apart, and nothing at all when they do not meet.
        const QRectF meet = layer.contentBounds().intersected(
            layer.style.transform.mapRect(layer.style.mask->paintedBounds()));
        if (meet.isEmpty()) return;
        DisplayList::Layer bounded = layer;
        bounded.style.bounds = meet;
        paintBoundedMaskedLayer(bounded, painter);
        return;
    }
    if (!layer.style.needsOffscreen()) {
        paintLayerInPlace(layer, painter);
        return;
    }
    const auto& style = layer.style;
    if (!style.mask) {
        if (style.colorFilters.empty() && !style.isolated && paintsEachPixelOnce(*layer.content)) {
            painter.save();
            painter.setOpacity(painter.opacity() * std::clamp<qreal>(style.opacity, 0, 1));
            painter.setCompositionMode(style.blendMode);
            paintLayerContent(layer, painter);
            painter.restore();
            return;
        }
        // A solid fill under filters that only recolour it is painted in the filtered colour.
        if (!style.isolated && !style.colorFilters.empty() &&
            std::all_of(style.colorFilters.begin(), style.colorFilters.end(),
                        [](const ColorFilter& filter) { return mapsColourAlone(filter.matrix()); }) &&
            onlySolidFill(*layer.content)) {
            painter.save();
            painter.setOpacity(painter.opacity() * std::clamp<qreal>(style.opacity, 0, 1));
            painter.setCompositionMode(style.blendMode);
            painter.setTransform(style.transform, true);
            if (style.clip) painter.setClipPath(*style.clip, Qt::IntersectClip);
            paintFilteredFill(*layer.content, painter, style.colorFilters);
            painter.restore();
            return;
        }
        // Only the pixels the content can reach are painted apart.
        OffscreenLayer offscreen(painter, detail::isolatedContentBounds(layer));
        if (offscreen.isEmpty()) return;
        paintLayerContent(layer, offscreen.painter());
        applyColorFilters(style, offscreen);
        offscreen.composite(style.blendMode, style.opacity);
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
    applyColorFilters(layer.style, content);
    painter.save();
    painter.resetTransform();
    painter.setOpacity(painter.opacity() * layer.style.opacity);
    painter.setCompositionMode(layer.style.blendMode);
    painter.drawImage(QPointF(0, 0), content);
    painter.restore();
}

void renderItem(const DisplayList::Item& item, QPainter& painter) {
    std::visit(
        [&](const auto& it) {
            using T = std::decay_t<decltype(it)>;
            if constexpr (std::is_same_v<T, DisplayList::Fill>) {
                if (!detail::paintsCurvedFromImage(it, painter) || !detail::paintCurvedFillImage(painter, it))
                    fillPath(painter, it.path, it.brush);
            } else if constexpr (std::is_same_v<T, DisplayList::Stroke>) {
                strokePath(painter, it.path, it.pen);
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

// What the painter can still change, in its current coordinates: the device through the clip.
// None when the transform does not map rectangles to rectangles' bounds (a projection).
std::optional<QRectF> reachableArea(const QPainter& painter) {
    const QTransform& world = painter.worldTransform();
    if (world.type() == QTransform::TxProject) return std::nullopt;
    bool invertible = false;
    const QTransform back = world.inverted(&invertible);
    if (!invertible) return std::nullopt;
    QRectF area = back.mapRect(QRectF(painter.window()));
    if (painter.hasClipping()) area = area.intersected(painter.clipBoundingRect());
    return area;
}

// Where an item that is not a layer may paint, cheaply: its outline's control points, pen or
// rim included. Laid-out text and other drawings may reach a little past their bounds (accents,
// italics), as far as views out of sight are kept painting.
QRectF roughBounds(const DisplayList::Item& item) {
    constexpr qreal drawingReach = 16;
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item)) return fill->path.controlPointRect().adjusted(-1, -1, 1, 1);
    if (const auto* stroke = std::get_if<DisplayList::Stroke>(&item)) {
        const QPen& pen = stroke->pen;
        if (pen.isCosmetic()) return {}; // its width is in device pixels
        const qreal mitre = pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin
                                ? std::max<qreal>(pen.miterLimit(), 1.5)
                                : 1.5;
        const qreal reach = pen.widthF() * mitre + 1;
        return stroke->path.controlPointRect().adjusted(-reach, -reach, reach, reach);
    }
    if (const auto* image = std::get_if<DisplayList::Image>(&item)) return image->target.normalized().adjusted(-1, -1, 1, 1);
    const auto& draw = std::get<DisplayList::Draw>(item);
    if (draw.bounds.isNull()) return {}; // where it paints is not told
    return draw.bounds.normalized().adjusted(-drawingReach, -drawingReach, drawingReach, drawingReach);
}

} // namespace

void render(const DisplayList& list, QPainter& painter) {
    // Items wholly out of sight (a long column in a scroll view, the pages of a strip) are passed
    // by: the painter would clip away every pixel, yet text and outlines cost their setting up.
    const auto area = list.items().size() > 1 ? reachableArea(painter) : std::nullopt;
    for (const auto& item : list.items()) {
        if (area && !std::holds_alternative<DisplayList::Layer>(item)) {
            const QRectF bounds = roughBounds(item);
            if (bounds.isValid() && !bounds.intersects(*area)) continue;
        }
        renderItem(item, painter);
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
