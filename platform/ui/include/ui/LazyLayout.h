#pragma once

#include "foundation/AnyHashable.h"
#include "graphics/CGRect.h"
#include "ui/Alignment.h"
#include "ui/Element.h"
#include "ui/LayoutAxis.h"
#include "ui/View.h"

#include <optional>
#include <utility>
#include <vector>

namespace ui::detail {

// The engine of lazy stacks and grids: items in lines along the axis, each line holding one
// item per track across it. Only lines in the visible part of the enclosing scroll view are
// built and laid out.
class LazyNode : public ViewNode {
public:
    struct Track {
        CGFloat offset;
        CGFloat length;
        Alignment alignment;
    };

    LazyNode(Axis axis, CGFloat spacing, std::vector<View> content)
        : axis_(axis)
        , spacing_(spacing)
        , content_(std::move(content)) {}

    std::optional<Axis> stackAxis() const override { return axis_; }
    void update(Element& element) const override;
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override;
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override;

    // Where the item with `id` is or would be, in root coordinates, built or not.
    std::optional<graphics::CGRect> estimatedFrame(Element& element, const foundation::AnyHashable& id) const;

protected:
    virtual std::vector<Track> tracks(CGFloat crossLength) const = 0;
    // The cross length for an unspecified or infinite proposal.
    virtual CGFloat idealCrossLength(Element& element) const = 0;
    CGFloat measuredCross(Element& element) const;

    Axis axis_;
    CGFloat spacing_;
    std::vector<View> content_;

private:
    CGFloat crossLength(Element& element, std::optional<CGFloat> offered) const;
    void measureFirstLine(Element& element, CGFloat cross) const;
};

} // namespace ui::detail
