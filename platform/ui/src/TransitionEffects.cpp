#include "TransitionEffects.h"

#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/HitTesting.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

namespace ui::detail {

namespace {

using Pair = AnimatablePair<CGFloat, CGFloat>;

class RelativeOffsetNode final : public WrapperNode {
public:
    RelativeOffsetNode(View content, CGFloat x, CGFloat y)
        : WrapperNode(std::move(content))
        , fraction_(x, y) {}
    std::string_view typeName() const override { return "RelativeOffset"; }
    void update(Element& element) const override {
        element.animate("relativeOffset", fraction_);
        WrapperNode::update(element);
    }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        return contentAlignment(element, id, size);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto fraction = element.presentedValue("relativeOffset", fraction_);
        const auto frame = element.frame();
        const bool rightToLeft =
            element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
        const CGFloat dx = fraction.first * frame.size.width * (rightToLeft ? -1 : 1);
        const CGFloat dy = fraction.second * frame.size.height;
        placeUnaryContent(element, frame.offsetBy(dx, dy), proposal, Alignment::center);
    }

private:
    Pair fraction_;
};

class ScaledPaintingNode final : public WrapperNode, public HitTestingNode {
public:
    ScaledPaintingNode(View content, double scale, UnitPoint anchor)
        : WrapperNode(std::move(content))
        , scale_(scale)
        , anchor_(anchor) {}
    std::string_view typeName() const override { return "ScaledPainting"; }
    void update(Element& element) const override {
        element.animate("scale", scale_);
        WrapperNode::update(element);
    }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        return contentAlignment(element, id, size);
    }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        effect.transform = transform(element);
    }
    void render(const Element& element, DisplayList& list) const override {
        const QTransform t = transform(element);
        if (t.isIdentity()) {
            element.renderChildren(list);
            return;
        }
        // A view scaled to nothing paints nothing (and a singular transform would not invert).
        if (!t.isInvertible()) return;
        DisplayList::LayerStyle style;
        style.transform = t;
        element.renderChildren(list.layer(style));
    }

private:
    QTransform transform(const Element& element) const {
        const double scale = element.presentedValue("scale", scale_);
        if (scale == 1) return {};
        const auto frame = element.frame();
        const double ax = frame.origin.x + anchor_.x * frame.size.width;
        const double ay = frame.origin.y + anchor_.y * frame.size.height;
        return QTransform::fromTranslate(-ax, -ay) * QTransform::fromScale(scale, scale) *
               QTransform::fromTranslate(ax, ay);
    }
    double scale_;
    UnitPoint anchor_;
};

} // namespace

View relativeOffset(View content, CGFloat x, CGFloat y) {
    return View(std::make_shared<RelativeOffsetNode>(std::move(content), x, y));
}

View scaledPainting(View content, double scale, UnitPoint anchor) {
    return View(std::make_shared<ScaledPaintingNode>(std::move(content), scale, anchor));
}

} // namespace ui::detail
