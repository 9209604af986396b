#include "ui/HitTesting.h"

#include "graphics/ProjectionTransform.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Graph.h"

#include <QPainterPathStroker>

#include <optional>
#include <variant>

namespace ui {

namespace {

bool brushPaints(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) return false;
    if (brush.style() == Qt::SolidPattern) return brush.color().alpha() > 0;
    return true; // gradients and textures: assume they show
}

// The point a transform took to `p`, or nothing when that point lies behind the horizon.
std::optional<QPointF> mapBack(const graphics::ProjectionTransform& transform, QPointF p) {
    graphics::ProjectionTransform inverse = transform;
    if (!inverse.invert()) return std::nullopt;
    const auto local = inverse.mapInFront({p.x(), p.y()});
    if (!local) return std::nullopt;
    return local->toQPointF();
}

bool itemHits(const DisplayList::Item& item, QPointF p) {
    if (const auto* fill = std::get_if<DisplayList::Fill>(&item))
        return brushPaints(fill->brush) && fill->path.contains(p);
    if (const auto* stroke = std::get_if<DisplayList::Stroke>(&item)) {
        const QPen& pen = stroke->pen;
        if (pen.style() == Qt::NoPen || !brushPaints(pen.brush())) return false;
        QPainterPathStroker stroker;
        stroker.setWidth(pen.widthF() > 0 ? pen.widthF() : 1);
        stroker.setCapStyle(pen.capStyle());
        stroker.setJoinStyle(pen.joinStyle());
        stroker.setMiterLimit(pen.miterLimit());
        return stroker.createStroke(stroke->path).contains(p);
    }
    if (const auto* image = std::get_if<DisplayList::Image>(&item)) return image->target.contains(p);
    if (const auto* draw = std::get_if<DisplayList::Draw>(&item)) return draw->bounds.contains(p);
    const auto& layer = std::get<DisplayList::Layer>(item);
    if (layer.style.opacity <= 0 || !layer.content) return false;
    QPointF local = p;
    if (!layer.style.transform.isIdentity()) {
        const auto back = mapBack(graphics::ProjectionTransform::fromQTransform(layer.style.transform), p);
        if (!back) return false;
        local = *back;
    }
    if (layer.style.clip && !layer.style.clip->contains(local)) return false;
    return detail::displayListHits(*layer.content, local);
}

bool hitElement(Element& element, const QPointF& point, const QTransform& toParent,
                std::vector<HitPathEntry>& path) {
    if (!element.isVisible()) return false;
    HitTestEffect effect;
    if (const auto* node = dynamic_cast<const HitTestingNode*>(&element.node()))
        node->hitTestEffect(element, effect);
    if (!effect.allowsHitTesting || !(effect.opacity > 0)) return false;
    QPointF p = point;
    QTransform toHere = toParent;
    if (const auto transform = element.node().contentTransform(element)) {
        const auto back = mapBack(*transform, point);
        if (!back) return false;
        p = *back;
        toHere = toParent * transform->inverted().toQTransform();
    }
    if (effect.clip && !effect.clip->contains(p)) return false;
    if (effect.contentShape && !effect.contentShape->contains(p)) return false;

    const auto& children = element.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (hitElement(**it, p, toHere, path)) {
            path.push_back({&element, p, toHere});
            return true;
        }
    }
    bool hit = effect.contentShape.has_value();
    // A leaf paints inside its frame, so only there is it worth recording.
    if (!hit && element.node().isLeaf() && element.frame().toQRectF().contains(p)) {
        DisplayList list;
        element.node().render(element, list);
        hit = detail::displayListHits(list, p);
    }
    if (hit) path.push_back({&element, p, toHere});
    return hit;
}

} // namespace

bool detail::displayListHits(const DisplayList& list, QPointF point) {
    const auto& items = list.items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (itemHits(*it, point)) return true;
    }
    return false;
}

std::vector<HitPathEntry> hitTest(Graph& graph, graphics::CGPoint point) {
    std::vector<HitPathEntry> path;
    hitElement(graph.root(), QPointF(point.x, point.y), QTransform(), path);
    return path;
}

} // namespace ui
