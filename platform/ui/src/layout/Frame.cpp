#include "ui/Frame.h"

#include "ui/Element.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

#include <algorithm>

namespace ui {

namespace {

class FixedFrameNode final : public detail::WrapperNode {
public:
    FixedFrameNode(View content, std::optional<CGFloat> width, std::optional<CGFloat> height,
                   Alignment alignment)
        : WrapperNode(std::move(content))
        , width_(width)
        , height_(height)
        , alignment_(alignment) {}
    std::string_view typeName() const override { return "Frame"; }
    bool isEqual(const ViewNode& other) const override {
        const auto* same = dynamic_cast<const FixedFrameNode*>(&other);
        if (!same || same->width_ != width_ || same->height_ != height_ || !(same->alignment_ == alignment_))
            return false;
        const auto& a = content_.node();
        const auto& b = same->content_.node();
        return a == b || a->isEqual(*b);
    }

    ProposedViewSize childProposal(const ProposedViewSize& p) const {
        return {width_ ? width_ : p.width, height_ ? height_ : p.height};
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const auto child = detail::unaryContentSize(element, childProposal(proposal));
        return {width_.value_or(child.width), height_.value_or(child.height)};
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        detail::placeUnaryContent(element, element.layoutFrame(), childProposal(proposal), alignment_);
    }

private:
    std::optional<CGFloat> width_, height_;
    Alignment alignment_;
};

struct AxisLimits {
    std::optional<CGFloat> min, ideal, max;

    std::optional<CGFloat> offered(std::optional<CGFloat> p) const { return p ? p : ideal; }
    std::optional<CGFloat> clampedProposal(std::optional<CGFloat> p) const {
        auto value = offered(p);
        if (!value) return std::nullopt;
        CGFloat v = *value;
        if (max) v = std::min(v, *max);
        if (min) v = std::max(v, *min);
        return v;
    }
    CGFloat resolve(std::optional<CGFloat> p, CGFloat child) const {
        const auto value = offered(p);
        const CGFloat lower = min.value_or(child);
        const CGFloat upper = std::max(lower, max.value_or(child));
        if (!value) {
            CGFloat v = child;
            if (max) v = std::min(v, *max);
            if (min) v = std::max(v, *min);
            return v;
        }
        return std::clamp(*value, lower, upper);
    }
};

class FlexibleFrameNode final : public detail::WrapperNode {
public:
    FlexibleFrameNode(View content, FlexibleFrame limits)
        : WrapperNode(std::move(content))
        , limits_(limits)
        , horizontal_{limits.minWidth, limits.idealWidth, limits.maxWidth}
        , vertical_{limits.minHeight, limits.idealHeight, limits.maxHeight} {}
    std::string_view typeName() const override { return "Frame"; }

    ProposedViewSize childProposal(const ProposedViewSize& p) const {
        return {horizontal_.clampedProposal(p.width), vertical_.clampedProposal(p.height)};
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const auto child = detail::unaryContentSize(element, childProposal(proposal));
        return {horizontal_.resolve(proposal.width, child.width),
                vertical_.resolve(proposal.height, child.height)};
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        detail::placeUnaryContent(element, element.layoutFrame(), childProposal(proposal), limits_.alignment);
    }

private:
    FlexibleFrame limits_;
    AxisLimits horizontal_, vertical_;
};

} // namespace

View View::frame(std::optional<CGFloat> width, std::optional<CGFloat> height, Alignment alignment) const {
    return apply([=](View content) {
        return View(std::make_shared<FixedFrameNode>(std::move(content), width, height, alignment));
    });
}

View View::frame(const FlexibleFrame& limits) const {
    return apply(
        [=](View content) { return View(std::make_shared<FlexibleFrameNode>(std::move(content), limits)); });
}

} // namespace ui
