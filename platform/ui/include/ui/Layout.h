#pragma once

#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Alignment.h"
#include "ui/LayoutAxis.h"
#include "ui/ProposedViewSize.h"

#include <vector>

namespace ui {

class Element;
class View;

// The layout steps containers share. Children are measured with Element::measure and placed
// with Element::place; sizes are chosen by the child, positions by the parent.
namespace detail {

// The default spacing between stacked views and the default padding.
inline constexpr CGFloat defaultSpacing = 8;
inline constexpr CGFloat defaultPadding = 16;

// A stack's distribution along its axis, for a proposal p:
// - unspecified along the axis: every child gets its ideal length;
// - otherwise the length left after spacing is shared out by priority, highest first, each
//   group keeping back the minimum lengths of the lower groups; inside a group the least
//   flexible child (max minus min length) is offered its equal share of what is left first.
// Across the axis every child is offered p's cross length, and the stack is as long as the
// children lined up on their alignment guides need.
struct StackChild {
    graphics::CGSize size;
    ProposedViewSize proposal;
};
std::vector<StackChild> distribute(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                                   Axis axis, CGFloat spacing);
graphics::CGSize stackSize(const std::vector<Element*>& children, const ProposedViewSize& proposal, Axis axis,
                           CGFloat spacing, const AlignmentID* crossAlignment);
void stackPlace(const std::vector<Element*>& children, graphics::CGRect bounds,
                const ProposedViewSize& proposal, Axis axis, CGFloat spacing,
                const AlignmentID* crossAlignment, bool reversed);

// A z-stack: every child gets the whole proposal; the stack spans the children lined up on
// both alignment guides.
graphics::CGSize overlaySize(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                             Alignment alignment);
void overlayPlace(const std::vector<Element*>& children, graphics::CGRect bounds,
                  const ProposedViewSize& proposal, Alignment alignment);

// The layout children of `element`, one of them or several stacked vertically, as one view.
graphics::CGSize unaryContentSize(Element& element, const ProposedViewSize& proposal);
void placeUnaryContent(Element& element, graphics::CGRect bounds, const ProposedViewSize& proposal,
                       Alignment alignment);

// The layout children that `child` stands for: itself, or its own when it is transparent.
std::vector<Element*> flatten(Element& child);
// Several views as one: one of them as it is, several stacked vertically or, for the
// secondary views of overlays and backgrounds, on top of each other.
graphics::CGSize contentSize(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                             bool layered = false, Alignment alignment = Alignment::center);
void placeContent(const std::vector<Element*>& children, graphics::CGRect bounds,
                  const ProposedViewSize& proposal, Alignment alignment, bool layered = false);
// The explicit guide of a single layout child at `size`, for wrappers that put it at their origin.
std::optional<CGFloat> contentAlignment(Element& element, const AlignmentID* id, graphics::CGSize size);

// Where a child of `size` goes so that its alignment guides meet those of `bounds`.
graphics::CGPoint alignedOrigin(Element& child, graphics::CGSize size, graphics::CGRect bounds,
                                Alignment alignment);

inline CGFloat along(graphics::CGSize size, Axis axis) {
    return axis == Axis::horizontal ? size.width : size.height;
}
inline CGFloat across(graphics::CGSize size, Axis axis) {
    return axis == Axis::horizontal ? size.height : size.width;
}
inline graphics::CGSize sizeOf(CGFloat main, CGFloat cross, Axis axis) {
    return axis == Axis::horizontal ? graphics::CGSize{main, cross} : graphics::CGSize{cross, main};
}
inline std::optional<CGFloat> along(const ProposedViewSize& p, Axis axis) {
    return axis == Axis::horizontal ? p.width : p.height;
}
inline std::optional<CGFloat> across(const ProposedViewSize& p, Axis axis) {
    return axis == Axis::horizontal ? p.height : p.width;
}
// An overlay's or background's two children: the primary view first, the secondary one in front
// of it or behind it.
void reconcileLayered(Element& element, View primary, View secondary, bool secondaryInFront);

inline ProposedViewSize proposalOf(std::optional<CGFloat> main, std::optional<CGFloat> cross, Axis axis) {
    return axis == Axis::horizontal ? ProposedViewSize(main, cross) : ProposedViewSize(cross, main);
}

} // namespace detail
} // namespace ui
