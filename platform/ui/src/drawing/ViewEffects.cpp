#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/HitTesting.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Effects change how the content paints, never its layout.
class EffectNode : public detail::WrapperNode {
public:
    using WrapperNode::WrapperNode;
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        const auto children = element.layoutChildren();
        if (children.size() != 1) return std::nullopt;
        return children.front()->explicitAlignment(id, size);
    }
};

class OpacityNode final : public EffectNode, public HitTestingNode {
public:
    OpacityNode(View content, double opacity)
        : EffectNode(std::move(content))
        // An opacity that is not a number leaves the content as it is.
        , opacity_(std::isnan(opacity) ? 1.0 : std::clamp(opacity, 0.0, 1.0)) {}
    std::string_view typeName() const override { return "Opacity"; }
    void update(Element& element) const override {
        element.animate("opacity", opacity_);
        EffectNode::update(element);
    }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        effect.opacity = presented(element);
    }
    void render(const Element& element, DisplayList& list) const override {
        const double opacity = presented(element);
        if (opacity >= 1) {
            element.renderChildren(list);
            return;
        }
        DisplayList::LayerStyle style;
        style.opacity = opacity;
        element.renderChildren(list.layer(style));
    }

private:
    // Springs may overshoot; what is shown stays a valid opacity.
    double presented(const Element& element) const {
        return std::clamp(element.presentedValue("opacity", opacity_), 0.0, 1.0);
    }
    double opacity_;
};

class ClipNode final : public EffectNode, public HitTestingNode {
public:
    using EffectNode::EffectNode;
    std::string_view typeName() const override { return "Clipped"; }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        QPainterPath clip;
        clip.addRect(element.frame().toQRectF());
        effect.clip = clip;
    }
    void render(const Element& element, DisplayList& list) const override {
        DisplayList::LayerStyle style;
        QPainterPath clip;
        clip.addRect(element.frame().toQRectF());
        style.clip = clip;
        element.renderChildren(list.layer(style));
    }
};

} // namespace

View View::opacity(double opacity) const {
    return apply(
        [=](View content) { return View(std::make_shared<OpacityNode>(std::move(content), opacity)); });
}

View View::clipped() const {
    return apply([](View content) { return View(std::make_shared<ClipNode>(std::move(content))); });
}

} // namespace ui
