// What the user's scrolling reaches: nodes that scroll their content (scroll views) say how
// far they can move and move, and the event dispatcher finds them under the pointer or around
// the focus. Wheel, touchpad, page keys and indicator drags all come through here.
#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/Element.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui::detail {

// A drag of a scroll indicator: the content follows the pointer, the whole track standing for
// the whole content.
struct IndicatorDrag {
    std::weak_ptr<ElementRef> scrollView;
    bool vertical = true;
    CGFloat startPointer = 0; // along the indicator's axis, root coordinates
    graphics::CGPoint startOffset;
    CGFloat contentPerPoint = 0;
};

class UserScrollable {
public:
    virtual ~UserScrollable() = default;
    // Whether the content can still move by `delta` (positive: towards its end).
    virtual bool canScrollBy(const Element& element, graphics::CGSize delta) const = 0;
    // Moves it by `delta`, kept inside the content; whether it moved.
    virtual bool scrollBy(Element& element, graphics::CGSize delta) const = 0;
    // How far Page Up and Page Down move it.
    virtual CGFloat pageLength(const Element& element) const = 0;
    // To the start or the end of the content; whether it moved.
    virtual bool scrollToEdge(Element& element, bool end) const = 0;
    // A drag that starts at `point` (root coordinates) on one of its indicators; a press on a
    // track away from its thumb moves a page towards the press first.
    virtual std::optional<IndicatorDrag> beginIndicatorDrag(Element& element, graphics::CGPoint point) const = 0;
    virtual void continueIndicatorDrag(Element& element, const IndicatorDrag& drag, graphics::CGPoint point) const = 0;
};

inline const UserScrollable* userScrollable(const Element& element) {
    return dynamic_cast<const UserScrollable*>(&element.node());
}
// The shown scrollable elements, in tree order (outer ones before those inside them).
std::vector<Element*> userScrollables(Element& root);
// Those whose frame holds `point` (root coordinates), innermost first.
std::vector<Element*> userScrollablesAt(Element& root, graphics::CGPoint point);

} // namespace ui::detail
