// Stand-ins for the painting modifiers that change hit testing, built on the same hook.
#pragma once

#include "ui/Element.h"
#include "ui/HitTesting.h"
#include "ui/ViewNodes.h"

#include <memory>

namespace uitest {

class HitTestOffNode final : public ui::detail::TransparentWrapperNode, public ui::HitTestingNode {
public:
    using TransparentWrapperNode::TransparentWrapperNode;
    std::string_view typeName() const override { return "AllowsHitTesting"; }
    void hitTestEffect(const ui::Element&, ui::HitTestEffect& effect) const override {
        effect.allowsHitTesting = false;
    }
};

// A rectangular content shape over the element's frame.
class RectangleShapeNode final : public ui::detail::TransparentWrapperNode, public ui::HitTestingNode {
public:
    using TransparentWrapperNode::TransparentWrapperNode;
    std::string_view typeName() const override { return "ContentShape"; }
    void hitTestEffect(const ui::Element& element, ui::HitTestEffect& effect) const override {
        QPainterPath shape;
        shape.addRect(element.frame().toQRectF());
        effect.contentShape = shape;
    }
};

inline ui::View noHits(ui::View content) {
    return ui::View(std::make_shared<HitTestOffNode>(std::move(content)));
}
inline ui::View rectangleShape(ui::View content) {
    return ui::View(std::make_shared<RectangleShapeNode>(std::move(content)));
}

} // namespace uitest
