#include "ui/DisplayList.h"

#include "graphics/CGRect.h"
#include "graphics/ProjectionTransform.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace ui {

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

QRectF DisplayList::Layer::contentBounds() const {
    if (!content) return {};
    QRectF inner = content->paintedBounds();
    // The clip is in the content's coordinates, as the content is.
    if (style.clip) inner = inner.intersected(style.clip->boundingRect());
    if (inner.isEmpty() || style.transform.isIdentity()) return inner;
    return graphics::CGRect::fromQRectF(inner)
        .applying(graphics::ProjectionTransform::fromQTransform(style.transform))
        .toQRectF();
}

QRectF DisplayList::paintedBounds() const {
    QRectF bounds;
    auto add = [&](const QRectF& r) {
        if (r.isEmpty()) return;
        bounds = bounds.isEmpty() ? r : bounds.united(r);
    };
    for (const auto& item : items_) {
        std::visit(
            [&](const auto& it) {
                using T = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<T, Fill>) {
                    add(it.path.boundingRect());
                } else if constexpr (std::is_same_v<T, Stroke>) {
                    const qreal half = std::max<qreal>(it.pen.widthF(), 1) / 2;
                    add(it.path.boundingRect().adjusted(-half, -half, half, half));
                } else if constexpr (std::is_same_v<T, Image>) {
                    add(it.target);
                } else if constexpr (std::is_same_v<T, Draw>) {
                    add(it.bounds);
                } else {
                    const QRectF inner = it.contentBounds();
                    if (inner.isEmpty()) return;
                    const qreal reach = it.style.reach();
                    add(inner.adjusted(-reach, -reach, reach, reach));
                }
            },
            item);
    }
    return bounds;
}

} // namespace ui
