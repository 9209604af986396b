#include "painting/LayerShortcuts.h"

#include "painting/PaintedBounds.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace ui::detail {

namespace {

// Each pixel of a solid fill is its colour at some coverage. A matrix whose colour rows ignore
// alpha and whose alpha row only scales it maps that pixel to the filtered colour at the same
// scaled coverage, and keeps clear pixels clear.
bool actsOnColorAlone(const ColorMatrix& m) {
    if (m.premultiplied) return false;
    for (int c = 0; c < 3; ++c)
        if (m.rows[c][3] != 0) return false;
    const auto& alpha = m.rows[3];
    return alpha[0] == 0 && alpha[1] == 0 && alpha[2] == 0 && alpha[4] == 0 && alpha[3] >= 0 && alpha[3] <= 1;
}

std::optional<QColor> filtered(const QColor& color, const std::vector<ColorFilter>& filters) {
    std::array<float, 4> straight{float(color.redF()), float(color.greenF()), float(color.blueF()),
                                  float(color.alphaF())};
    for (const auto& filter : filters) {
        const ColorMatrix matrix = filter.matrix();
        if (!actsOnColorAlone(matrix)) return std::nullopt;
        straight = matrix.apply(straight);
    }
    return QColor::fromRgbF(straight[0], straight[1], straight[2], straight[3]);
}

} // namespace

std::optional<DisplayList::Layer> foldingColorFilters(const DisplayList::Layer& layer) {
    const auto& style = layer.style;
    if (style.colorFilters.empty() || style.shader || !layer.content || layer.content->items().size() != 1)
        return std::nullopt;
    const auto& item = layer.content->items().front();
    auto content = std::make_shared<DisplayList>();
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item)) {
        if (fill->brush.style() != Qt::SolidPattern) return std::nullopt;
        const auto color = filtered(fill->brush.color(), style.colorFilters);
        if (!color) return std::nullopt;
        content->fill(fill->path, QBrush(*color));
    } else if (const auto* stroke = std::get_if<DisplayList::Stroke>(&item)) {
        if (stroke->pen.brush().style() != Qt::SolidPattern) return std::nullopt;
        const auto color = filtered(stroke->pen.color(), style.colorFilters);
        if (!color) return std::nullopt;
        QPen pen = stroke->pen;
        pen.setColor(*color);
        content->stroke(stroke->path, pen);
    } else {
        return std::nullopt;
    }
    DisplayList::Layer folded{style, std::move(content)};
    folded.style.colorFilters.clear();
    return folded;
}

} // namespace ui::detail

namespace ui::detail {

namespace {

// One device pixel in the layer's units, for transforms that keep axes apart; none for others.
std::optional<qreal> devicePixel(const QTransform& toDevice) {
    if (toDevice.type() > QTransform::TxScale) return std::nullopt;
    const qreal scale = std::min(std::abs(toDevice.m11()), std::abs(toDevice.m22()));
    if (!(scale > 0) || !std::isfinite(scale)) return std::nullopt;
    return 1 / scale;
}


// Whether the item paints only where `outline` covers whole pixels.
bool staysInside(const DisplayList::Item& item, const QPainterPath& outline, qreal pixel) {
    const QRectF bounds = itemBounds(item);
    return bounds.isEmpty() || outline.contains(bounds.adjusted(-pixel, -pixel, pixel, pixel));
}

bool isOpaqueSolid(const QBrush& brush) {
    return brush.style() == Qt::SolidPattern && brush.color().alpha() == 255;
}

// Whether `fill` is solid and covers every device pixel that `area` touches in full.
bool coversPixelsOf(const DisplayList::Fill& fill, const QRectF& area, const QTransform& toDevice) {
    if (fill.brush.style() != Qt::SolidPattern || !fill.brush.transform().isIdentity()) return false;
    const QRectF rect = fill.path.boundingRect();
    QPainterPath plain;
    plain.addRect(rect);
    if (!(plain == fill.path)) return false;
    constexpr qreal slack = 1e-6;
    const QRectF touched = QRectF(toDevice.mapRect(area).toAlignedRect()).adjusted(slack, slack, -slack, -slack);
    return toDevice.mapRect(rect).contains(touched);
}

void appendDirect(const DisplayList::Item& item, const QTransform& toDevice, std::vector<DisplayList::Item>& out) {
    const auto* layer = std::get_if<DisplayList::Layer>(&item);
    if (!layer || !layer->content) {
        out.push_back(item);
        return;
    }
    std::optional<DisplayList::Layer> folded;
    if (!layer->style.colorFilters.empty()) {
        folded = foldingColorFilters(*layer);
        if (!folded) {
            out.push_back(item);
            return;
        }
        layer = &*folded;
    }
    const auto& style = layer->style;
    if (style.mask) {
        if (auto masked = maskedDirectly(*layer, toDevice)) {
            out.insert(out.end(), masked->begin(), masked->end());
            return;
        }
    } else if (!style.needsOffscreen() && style.transform.isIdentity() && !style.clip) {
        for (const auto& inner : layer->content->items())
            appendDirect(inner, toDevice, out);
        return;
    }
    out.push_back(*layer);
}

} // namespace

std::optional<std::vector<DisplayList::Item>> maskedDirectly(const DisplayList::Layer& layer,
                                                             const QTransform& toDevice) {
    const auto& style = layer.style;
    if (!layer.content || !style.mask || style.opacity < 1 || style.blendMode != QPainter::CompositionMode_SourceOver ||
        style.isolated || style.spreads() || style.shader || !style.colorFilters.empty() || style.clip ||
        !style.transform.isIdentity())
        return std::nullopt;
    const auto& maskItems = style.mask->items();
    const auto* shape = maskItems.size() == 1 ? std::get_if<DisplayList::Fill>(&maskItems.front()) : nullptr;
    const auto pixel = devicePixel(toDevice);
    if (!shape || !isOpaqueSolid(shape->brush) || !pixel) return std::nullopt;

    std::vector<DisplayList::Item> out;
    bool background = false;
    for (const auto& item : directItems(*layer.content, toDevice)) {
        if (staysInside(item, shape->path, *pixel)) {
            out.push_back(item);
            continue;
        }
        // Coverage times the mask's is the mask's own where the fill covers whole pixels. A
        // second such fill would blend with the first at the rim, so only one is taken.
        const auto* fill = std::get_if<DisplayList::Fill>(&item);
        if (background || !fill || !coversPixelsOf(*fill, shape->path.boundingRect(), toDevice)) return std::nullopt;
        out.push_back(DisplayList::Fill{shape->path, fill->brush});
        background = true;
    }
    return out;
}

std::vector<DisplayList::Item> directItems(const DisplayList& list, const QTransform& toDevice) {
    std::vector<DisplayList::Item> out;
    out.reserve(list.items().size());
    for (const auto& item : list.items())
        appendDirect(item, toDevice, out);
    return out;
}

std::optional<std::size_t> silhouette(const std::vector<DisplayList::Item>& items, const QTransform& toDevice) {
    const auto pixel = devicePixel(toDevice);
    if (!pixel) return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto* fill = std::get_if<DisplayList::Fill>(&items[i]);
        if (!fill || !isOpaqueSolid(fill->brush)) continue;
        bool coversAll = true;
        for (std::size_t j = 0; j < items.size() && coversAll; ++j)
            coversAll = j == i || staysInside(items[j], fill->path, *pixel);
        if (coversAll) return i;
    }
    return std::nullopt;
}

bool castsShadowAlone(const std::vector<DisplayList::Item>& items, const QTransform& toDevice, const Shadow& shadow,
                      qreal reach) {
    const auto pixel = devicePixel(toDevice);
    const auto* base = items.empty() ? nullptr : std::get_if<DisplayList::Fill>(&items.front());
    if (!pixel || !base || base->brush.style() != Qt::SolidPattern) return false;
    // What lies on the base adds its own shadow at (1 - alpha) of the shadow's strength, under
    // the base, which lets (1 - alpha) of it through: left out while that stays within two
    // levels of 255 and nothing on the base comes within the shadow's reach of its edge.
    const qreal through = 1 - base->brush.color().alphaF();
    if (through * through * shadow.color.alphaF() > 2.0 / 255) return false;
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (!staysInside(items[i], base->path, *pixel + reach)) return false;
    }
    return true;
}

} // namespace ui::detail
