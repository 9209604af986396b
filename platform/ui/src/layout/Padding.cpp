#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"

#include <algorithm>

namespace ui {

namespace {

// Insets on each side; negative ones let the content stand out of the padded view.
class PaddingNode final : public detail::WrapperNode {
public:
    PaddingNode(View content, EdgeInsets insets)
        : WrapperNode(std::move(content))
        , insets_(insets) {}
    std::string_view typeName() const override { return "Padding"; }

    struct Sides {
        CGFloat left, top, right, bottom;
    };
    Sides sides(const Element& element) const {
        const bool rtl = element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
        return rtl ? Sides{insets_.trailing, insets_.top, insets_.leading, insets_.bottom}
                   : Sides{insets_.leading, insets_.top, insets_.trailing, insets_.bottom};
    }
    static std::optional<CGFloat> inset(std::optional<CGFloat> p, CGFloat amount) {
        if (!p) return std::nullopt;
        return std::max<CGFloat>(0, *p - amount);
    }
    ProposedViewSize childProposal(const Element& element, const ProposedViewSize& p) const {
        const auto s = sides(element);
        return {inset(p.width, s.left + s.right), inset(p.height, s.top + s.bottom)};
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const auto s = sides(element);
        const auto child = detail::unaryContentSize(element, childProposal(element, proposal));
        return {std::max<CGFloat>(0, child.width + s.left + s.right),
                std::max<CGFloat>(0, child.height + s.top + s.bottom)};
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto s = sides(element);
        const auto childP = childProposal(element, proposal);
        const auto size = detail::unaryContentSize(element, childP);
        const auto frame = element.layoutFrame();
        detail::placeUnaryContent(element, {{frame.minX() + s.left, frame.minY() + s.top}, size}, childP,
                                  Alignment::center);
    }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        const auto s = sides(element);
        const graphics::CGSize inner{size.width - s.left - s.right, size.height - s.top - s.bottom};
        auto value = detail::contentAlignment(element, id, inner);
        if (!value) return std::nullopt;
        return *value + (id->isHorizontal ? s.left : s.top);
    }

private:
    EdgeInsets insets_;
};

} // namespace

View View::padding(CGFloat length) const {
    return padding(EdgeInsets::uniform(length));
}

View View::padding(EdgeSet edges, std::optional<CGFloat> length) const {
    return padding(EdgeInsets::on(edges, length.value_or(detail::defaultPadding)));
}

View View::padding(EdgeInsets insets) const {
    return apply(
        [=](View content) { return View(std::make_shared<PaddingNode>(std::move(content), insets)); });
}

} // namespace ui
