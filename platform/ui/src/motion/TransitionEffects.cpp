#include "TransitionEffects.h"

#include "ui/AlikeNode.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

namespace ui::detail {

namespace {

using Pair = AnimatablePair<CGFloat, CGFloat>;

class RelativeOffsetNode final : public WrapperNode, public AlikeNode {
public:
    RelativeOffsetNode(View content, CGFloat x, CGFloat y)
        : WrapperNode(std::move(content))
        , fraction_(x, y) {}
    std::string_view typeName() const override { return "RelativeOffset"; }
    bool alike(const ViewNode& previous) const override {
        const auto* same = dynamic_cast<const RelativeOffsetNode*>(&previous);
        return same && same->fraction_ == fraction_;
    }
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
        const auto frame = element.layoutFrame();
        const bool rightToLeft =
            element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
        const CGFloat dx = fraction.first * frame.size.width * (rightToLeft ? -1 : 1);
        const CGFloat dy = fraction.second * frame.size.height;
        // The shift is this node's own motion, not a move of the content to animate again.
        element.setContentDisplacement({dx, dy});
        placeUnaryContent(element, frame.offsetBy(dx, dy), proposal, Alignment::center);
    }

private:
    Pair fraction_;
};

} // namespace

View relativeOffset(View content, CGFloat x, CGFloat y) {
    return View(std::make_shared<RelativeOffsetNode>(std::move(content), x, y));
}

View scaledPainting(View content, double scale, UnitPoint anchor) {
    return content.scaleEffect(scale, anchor);
}

} // namespace ui::detail
