#include "ui/GeometryEffect.h"

#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Layout.h"

#include <cmath>
#include <initializer_list>

namespace ui::detail {

namespace {

bool isFinite(const graphics::ProjectionTransform& t) {
    for (CGFloat v : {t.m11, t.m12, t.m13, t.m21, t.m22, t.m23, t.m31, t.m32, t.m33})
        if (!std::isfinite(v)) return false;
    return true;
}

} // namespace

std::optional<graphics::ProjectionTransform>
GeometryEffectNodeBase::contentTransform(const Element& element) const {
    const auto frame = element.frame();
    const auto effect = presentedEffectValue(element, frame.size);
    if (effect.isIdentity() || !isFinite(effect)) return std::nullopt;
    // The effect works in the view's own coordinates; the tree draws in the root's.
    using graphics::CGAffineTransform;
    using graphics::ProjectionTransform;
    return ProjectionTransform(CGAffineTransform::translation(-frame.minX(), -frame.minY()))
        .concatenating(effect)
        .concatenating(ProjectionTransform(CGAffineTransform::translation(frame.minX(), frame.minY())));
}

std::optional<CGFloat> GeometryEffectNodeBase::explicitAlignment(Element& element, const AlignmentID* id,
                                                                 graphics::CGSize size) const {
    return contentAlignment(element, id, size);
}

void GeometryEffectNodeBase::render(const Element& element, DisplayList& list) const {
    const auto transform = contentTransform(element);
    if (!transform) {
        element.renderChildren(list);
        return;
    }
    DisplayList::LayerStyle style;
    style.transform = transform->toQTransform();
    element.renderChildren(list.layer(style));
}

} // namespace ui::detail
