#include "ui/AlikeNode.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A wrapper that lays out exactly as its content, keeping the content's guides.
class PassThroughNode : public detail::WrapperNode {
public:
    using WrapperNode::WrapperNode;
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        return detail::contentAlignment(element, id, size);
    }
};

// Takes the whole proposal and puts the content's centre at `position` in it.
class PositionNode final : public detail::WrapperNode {
public:
    PositionNode(View content, graphics::CGPoint position)
        : WrapperNode(std::move(content))
        , position_(position) {}
    std::string_view typeName() const override { return "Position"; }
    void update(Element& element) const override {
        element.animate("position", AnimatablePair<CGFloat, CGFloat>(position_.x, position_.y));
        WrapperNode::update(element);
    }
    graphics::CGSize sizeThatFits(Element&, const ProposedViewSize& proposal) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto size = detail::unaryContentSize(element, proposal);
        const auto frame = element.layoutFrame();
        const auto position =
            element.presentedValue("position", AnimatablePair<CGFloat, CGFloat>(position_.x, position_.y));
        element.setContentDisplacement({position.first, position.second});
        const graphics::CGRect bounds{
            {frame.minX() + position.first - size.width / 2, frame.minY() + position.second - size.height / 2},
            size};
        detail::placeUnaryContent(element, bounds, proposal, Alignment::center);
    }

private:
    graphics::CGPoint position_;
};

// The secondary view of an overlay or background: offered the primary's size, placed by
// `alignment` on it, painted in front of or behind it.
class SecondaryNode final : public ViewNode, public detail::AlikeNode {
public:
    SecondaryNode(View primary, View secondary, Alignment alignment, bool inFront)
        : primary_(std::move(primary))
        , secondary_(std::move(secondary))
        , alignment_(alignment)
        , inFront_(inFront) {}
    std::string_view typeName() const override { return inFront_ ? "Overlay" : "Background"; }
    bool alike(const ViewNode& previous) const override {
        const auto* same = dynamic_cast<const SecondaryNode*>(&previous);
        return same && same->alignment_ == alignment_ && same->inFront_ == inFront_;
    }

    void update(Element& element) const override {
        detail::reconcileLayered(element, primary_, secondary_, inFront_);
    }
    Element* primary(Element& element) const { return element.children()[inFront_ ? 0 : 1].get(); }
    Element* secondary(Element& element) const { return element.children()[inFront_ ? 1 : 0].get(); }

    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::contentSize(detail::flatten(*primary(element)), proposal);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto frame = element.layoutFrame();
        detail::placeContent(detail::flatten(*primary(element)), frame, proposal, Alignment::center);
        detail::placeContent(detail::flatten(*secondary(element)), frame, ProposedViewSize(frame.size),
                             alignment_, true);
    }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        const auto children = detail::flatten(*primary(element));
        if (children.size() != 1) return std::nullopt;
        return children.front()->explicitAlignment(id, size);
    }

private:
    View primary_, secondary_;
    Alignment alignment_;
    bool inFront_;
};

class FixedSizeNode final : public PassThroughNode, public detail::AlikeNode {
public:
    FixedSizeNode(View content, bool horizontal, bool vertical)
        : PassThroughNode(std::move(content))
        , horizontal_(horizontal)
        , vertical_(vertical) {}
    std::string_view typeName() const override { return "FixedSize"; }
    bool alike(const ViewNode& previous) const override {
        const auto* same = dynamic_cast<const FixedSizeNode*>(&previous);
        return same && same->horizontal_ == horizontal_ && same->vertical_ == vertical_;
    }
    ProposedViewSize childProposal(const ProposedViewSize& p) const {
        return {horizontal_ ? std::nullopt : p.width, vertical_ ? std::nullopt : p.height};
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::unaryContentSize(element, childProposal(proposal));
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        detail::placeUnaryContent(element, element.layoutFrame(), childProposal(proposal), Alignment::center);
    }

private:
    bool horizontal_, vertical_;
};

class LayoutPriorityNode final : public PassThroughNode {
public:
    LayoutPriorityNode(View content, double priority)
        : PassThroughNode(std::move(content))
        , priority_(priority) {}
    std::string_view typeName() const override { return "LayoutPriority"; }
    double layoutPriority() const override { return priority_; }

private:
    double priority_;
};

// Proposes the content the largest size of the ratio inside the proposal (fit) or the
// smallest covering it (fill); the ratio is the content's ideal one when none is given.
class AspectRatioNode final : public detail::WrapperNode {
public:
    AspectRatioNode(View content, std::optional<CGFloat> ratio, ContentMode mode)
        : WrapperNode(std::move(content))
        , ratio_(ratio)
        , mode_(mode) {}
    std::string_view typeName() const override { return "AspectRatio"; }

    ProposedViewSize childProposal(Element& element, const ProposedViewSize& p) const {
        CGFloat ratio = 1;
        if (ratio_) {
            ratio = *ratio_;
        } else {
            const auto ideal = detail::unaryContentSize(element, ProposedViewSize::unspecified());
            ratio = ideal.height > 0 ? ideal.width / ideal.height : 1;
        }
        if (!(ratio > 0) || !std::isfinite(ratio)) return p;
        const bool w = p.width && std::isfinite(*p.width);
        const bool h = p.height && std::isfinite(*p.height);
        if (w && h) {
            const CGFloat byWidth = *p.width / ratio;
            const bool fitsByWidth = byWidth <= *p.height;
            const bool useWidth = mode_ == ContentMode::fit ? fitsByWidth : !fitsByWidth;
            if (useWidth) return ProposedViewSize(*p.width, byWidth);
            return ProposedViewSize(*p.height * ratio, *p.height);
        }
        if (w) return ProposedViewSize(*p.width, *p.width / ratio);
        if (h) return ProposedViewSize(*p.height * ratio, *p.height);
        const auto ideal = detail::unaryContentSize(element, ProposedViewSize::unspecified());
        return ProposedViewSize(ideal.width, ideal.width / ratio);
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::unaryContentSize(element, childProposal(element, proposal));
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        detail::placeUnaryContent(element, element.layoutFrame(), childProposal(element, proposal),
                                  Alignment::center);
    }

private:
    std::optional<CGFloat> ratio_;
    ContentMode mode_;
};

class AlignmentGuideNode final : public PassThroughNode {
public:
    AlignmentGuideNode(View content, const AlignmentID* id,
                       std::function<CGFloat(const ViewDimensions&)> value)
        : PassThroughNode(std::move(content))
        , id_(id)
        , value_(std::move(value)) {}
    std::string_view typeName() const override { return "AlignmentGuide"; }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        if (id != id_) return detail::contentAlignment(element, id, size);
        const auto children = element.layoutChildren();
        ViewDimensions dims{size.width, size.height, {}};
        if (children.size() == 1) dims = children.front()->dimensions(size);
        return value_(dims);
    }

private:
    const AlignmentID* id_;
    std::function<CGFloat(const ViewDimensions&)> value_;
};

// Mirrors the content's painting in a right-to-left environment.
class FlipsForRightToLeftNode final : public PassThroughNode {
public:
    FlipsForRightToLeftNode(View content, bool enabled)
        : PassThroughNode(std::move(content))
        , enabled_(enabled) {}
    std::string_view typeName() const override { return "FlipsForRightToLeftLayoutDirection"; }
    std::optional<graphics::ProjectionTransform> contentTransform(const Element& element) const override {
        if (!enabled_ || element.environment().get<LayoutDirectionKey>() != LayoutDirection::rightToLeft)
            return std::nullopt;
        return graphics::ProjectionTransform{-1, 0, 0, 0, 1, 0, 2 * element.frame().midX(), 0, 1};
    }
    void render(const Element& element, DisplayList& list) const override {
        const auto mirror = contentTransform(element);
        if (!mirror) {
            element.renderChildren(list);
            return;
        }
        DisplayList::LayerStyle style;
        style.transform = mirror->toQTransform();
        element.renderChildren(list.layer(style));
    }

private:
    bool enabled_;
};

} // namespace

View View::position(graphics::CGPoint position) const {
    return apply(
        [=](View content) { return View(std::make_shared<PositionNode>(std::move(content), position)); });
}

View View::overlay(View secondary, Alignment alignment) const {
    return apply([=](View content) {
        return View(std::make_shared<SecondaryNode>(std::move(content), secondary, alignment, true));
    });
}

View View::background(View secondary, Alignment alignment) const {
    return apply([=](View content) {
        return View(std::make_shared<SecondaryNode>(std::move(content), secondary, alignment, false));
    });
}

View View::fixedSize(bool horizontal, bool vertical) const {
    return apply([=](View content) {
        return View(std::make_shared<FixedSizeNode>(std::move(content), horizontal, vertical));
    });
}

View View::layoutPriority(double priority) const {
    return apply([=](View content) {
        return View(std::make_shared<LayoutPriorityNode>(std::move(content), priority));
    });
}

View View::aspectRatio(std::optional<CGFloat> ratio, ContentMode mode) const {
    return apply([=](View content) {
        return View(std::make_shared<AspectRatioNode>(std::move(content), ratio, mode));
    });
}

View View::aspectRatio(graphics::CGSize ratio, ContentMode mode) const {
    return aspectRatio(ratio.height != 0 ? std::optional<CGFloat>(ratio.width / ratio.height) : std::nullopt,
                       mode);
}

View View::alignmentGuide(HorizontalAlignment guide,
                          std::function<CGFloat(const ViewDimensions&)> value) const {
    return apply([=](View content) {
        return View(std::make_shared<AlignmentGuideNode>(std::move(content), guide.id, value));
    });
}

View View::alignmentGuide(VerticalAlignment guide,
                          std::function<CGFloat(const ViewDimensions&)> value) const {
    return apply([=](View content) {
        return View(std::make_shared<AlignmentGuideNode>(std::move(content), guide.id, value));
    });
}

View View::flipsForRightToLeftLayoutDirection(bool enabled) const {
    return apply([=](View content) {
        return View(std::make_shared<FlipsForRightToLeftNode>(std::move(content), enabled));
    });
}

} // namespace ui
