#include "ui/DisplayList.h"

#include "IsolatedBounds.h"
#include "painting/PaintedBounds.h"

#include "graphics/CGRect.h"
#include "graphics/ProjectionTransform.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Room for the antialiased rim around a filled or stroked outline.
constexpr qreal rim = 1;

QRectF united(const QRectF& a, const QRectF& b) {
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    return a.united(b);
}

} // namespace

QRectF detail::itemBounds(const DisplayList::Item& item) {
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item)) {
        if (fill->path.isEmpty()) return {};
        return fill->path.boundingRect().adjusted(-rim, -rim, rim, rim);
    }
    if (const auto* stroke = std::get_if<DisplayList::Stroke>(&item)) {
        if (stroke->path.isEmpty()) return {};
        const QPen& pen = stroke->pen;
        const qreal width = pen.widthF() > 0 ? pen.widthF() : 1;
        // Miter joins reach furthest: half the width times the miter limit.
        const qreal reach =
            width / 2 * std::max<qreal>(1, pen.joinStyle() == Qt::MiterJoin ? pen.miterLimit() : 1) + width +
            rim;
        return stroke->path.boundingRect().adjusted(-reach, -reach, reach, reach);
    }
    if (const auto* image = std::get_if<DisplayList::Image>(&item)) return image->target.normalized();
    if (const auto* draw = std::get_if<DisplayList::Draw>(&item)) return draw->bounds;
    const auto& layer = std::get<DisplayList::Layer>(item);
    const QRectF inner = layer.contentBounds();
    if (inner.isEmpty()) return {};
    // Blurs and shadows are measured in the layer's outer coordinates, as the renderer applies them.
    const qreal reach = layer.style.reach();
    return inner.adjusted(-reach, -reach, reach, reach);
}

qreal DisplayList::LayerStyle::reach() const {
    qreal margin = 3 * std::max<qreal>(0, blurRadius);
    if (shadow)
        margin =
            std::max(margin, 3 * std::max(0.0, shadow->radius) + std::abs(shadow->x) + std::abs(shadow->y));
    return margin;
}

DisplayList& DisplayList::layer(LayerStyle style) {
    auto content = std::make_shared<DisplayList>();
    DisplayList& inner = *content;
    items_.push_back(Layer{std::move(style), std::move(content)});
    return inner;
}

namespace {

// `inner`, in the content's coordinates, through the layer's clip and transform.
QRectF throughLayer(const DisplayList::LayerStyle& style, QRectF inner) {
    // The clip is in the content's coordinates, as the content is.
    if (style.clip) inner = inner.intersected(style.clip->boundingRect());
    if (inner.isEmpty() || style.transform.isIdentity()) return inner;
    return graphics::CGRect::fromQRectF(inner)
        .applying(graphics::ProjectionTransform::fromQTransform(style.transform))
        .toQRectF();
}

// Composited this way, a part changes only pixels that something before it painted.
bool staysInsideDestination(const DisplayList::Item& item) {
    const auto* layer = std::get_if<DisplayList::Layer>(&item);
    if (!layer) return false;
    switch (layer->style.blendMode) {
    case QPainter::CompositionMode_SourceAtop:
    case QPainter::CompositionMode_SourceIn:
    case QPainter::CompositionMode_DestinationIn:
    case QPainter::CompositionMode_DestinationOut:
    case QPainter::CompositionMode_Clear:
        return true;
    default:
        break;
    }
    // A layer that only moves or clips its parts (a canvas's drawing) keeps them where they are.
    if (layer->style.needsOffscreen() || !layer->content || layer->content->isEmpty()) return false;
    const auto& parts = layer->content->items();
    return std::all_of(parts.begin(), parts.end(),
                       [](const DisplayList::Item& part) { return staysInsideDestination(part); });
}

} // namespace

QRectF DisplayList::Layer::contentBounds() const {
    if (!content) return {};
    return throughLayer(style, content->paintedBounds());
}

QRectF detail::isolatedContentBounds(const DisplayList::Layer& layer) {
    if (!layer.content) return {};
    QRectF inner;
    for (const auto& item : layer.content->items()) {
        if (!staysInsideDestination(item)) inner = united(inner, detail::itemBounds(item));
    }
    return throughLayer(layer.style, inner);
}

QRectF DisplayList::paintedBounds() const {
    return detail::paintedBoundsFrom(*this, 0);
}

QRectF detail::paintedBoundsFrom(const DisplayList& list, std::size_t first) {
    QRectF result;
    const auto& items = list.items();
    for (std::size_t i = first; i < items.size(); ++i)
        result = united(result, detail::itemBounds(items[i]));
    return result;
}

} // namespace ui
