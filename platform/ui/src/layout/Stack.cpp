#include "ui/Stack.h"

#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Layout.h"
#include "ui/Spacer.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

std::vector<ChildSpec> positional(const std::vector<View>& content) {
    std::vector<ChildSpec> specs;
    specs.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i)
        specs.push_back({content[i], {i, {}, false, 0}, {}});
    return specs;
}

class StackNode final : public ViewNode {
public:
    StackNode(Axis axis, const AlignmentID* alignment, std::optional<CGFloat> spacing,
              std::vector<View> content)
        : axis_(axis)
        , alignment_(alignment)
        , spacing_(spacing.value_or(detail::defaultSpacing))
        , content_(std::move(content)) {}

    std::string_view typeName() const override { return axis_ == Axis::horizontal ? "HStack" : "VStack"; }
    // The same stack of the same views: a rebuild above leaves it, and all it holds, as it is.
    bool isEqual(const ViewNode& other) const override {
        const auto* same = dynamic_cast<const StackNode*>(&other);
        if (!same || same->axis_ != axis_ || same->alignment_ != alignment_ || same->spacing_ != spacing_ ||
            same->content_.size() != content_.size())
            return false;
        for (std::size_t i = 0; i < content_.size(); ++i) {
            const auto& a = content_[i].node();
            const auto& b = same->content_[i].node();
            if (a != b && !a->isEqual(*b)) return false;
        }
        return true;
    }
    std::optional<Axis> stackAxis() const override { return axis_; }
    void update(Element& element) const override { element.reconcile(positional(content_)); }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::stackSize(element.layoutChildren(), proposal, axis_, spacing_, alignment_);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const bool reversed = axis_ == Axis::horizontal &&
                              element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
        const AlignmentID* alignment = alignment_;
        if (axis_ == Axis::vertical &&
            element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft) {
            if (alignment == HorizontalAlignment::leading.id)
                alignment = HorizontalAlignment::trailing.id;
            else if (alignment == HorizontalAlignment::trailing.id)
                alignment = HorizontalAlignment::leading.id;
        }
        detail::stackPlace(element.layoutChildren(), element.layoutFrame(), proposal, axis_, spacing_, alignment,
                           reversed);
    }

private:
    Axis axis_;
    const AlignmentID* alignment_;
    CGFloat spacing_;
    std::vector<View> content_;
};

class ZStackNode final : public ViewNode {
public:
    ZStackNode(Alignment alignment, std::vector<View> content)
        : alignment_(alignment)
        , content_(std::move(content)) {}
    std::string_view typeName() const override { return "ZStack"; }
    void update(Element& element) const override { element.reconcile(positional(content_)); }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::overlaySize(element.layoutChildren(), proposal, alignment_);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        detail::overlayPlace(element.layoutChildren(), element.layoutFrame(), proposal, alignment_);
    }

private:
    Alignment alignment_;
    std::vector<View> content_;
};

class SpacerNode final : public ViewNode {
public:
    explicit SpacerNode(std::optional<CGFloat> minLength)
        : minLength_(minLength.value_or(detail::defaultSpacing)) {}
    std::string_view typeName() const override { return "Spacer"; }
    bool isEqual(const ViewNode& other) const override {
        const auto* same = dynamic_cast<const SpacerNode*>(&other);
        return same && same->minLength_ == minLength_;
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        auto grow = [&](std::optional<CGFloat> offered) {
            return std::max(minLength_, offered.value_or(minLength_));
        };
        std::optional<Axis> axis;
        for (Element* up = element.parent(); up; up = up->parent()) {
            if (up->node().isTransparent()) continue;
            axis = up->node().stackAxis();
            break;
        }
        if (!axis) return {grow(proposal.width), grow(proposal.height)};
        return detail::sizeOf(grow(detail::along(proposal, *axis)), 0, *axis);
    }

private:
    CGFloat minLength_;
};

} // namespace

HStack::HStack(std::vector<View> content)
    : HStack(VerticalAlignment::center, std::nullopt, std::move(content)) {}

HStack::HStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content)
    : View(std::make_shared<StackNode>(Axis::horizontal, alignment.id, spacing, std::move(content))) {}

VStack::VStack(std::vector<View> content)
    : VStack(HorizontalAlignment::center, std::nullopt, std::move(content)) {}

VStack::VStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content)
    : View(std::make_shared<StackNode>(Axis::vertical, alignment.id, spacing, std::move(content))) {}

ZStack::ZStack(std::vector<View> content)
    : ZStack(Alignment::center, std::move(content)) {}

ZStack::ZStack(Alignment alignment, std::vector<View> content)
    : View(std::make_shared<ZStackNode>(alignment, std::move(content))) {}

Spacer::Spacer(std::optional<CGFloat> minLength)
    : View(std::make_shared<SpacerNode>(minLength)) {}

} // namespace ui
