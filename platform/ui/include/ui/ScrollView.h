#pragma once

#include "foundation/AnyHashable.h"
#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/LayoutAxis.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ui {

class Element;
namespace detail {
struct ElementRef;
}

// Shows its content through a viewport that it scrolls. The content is offered unspecified
// lengths along the scrolled axes (so it takes its ideal length) and the viewport's length
// across them; the scroll view itself takes the lengths offered along its scrolled axes.
class ScrollView : public View {
public:
    explicit ScrollView(View content);
    ScrollView(AxisSet axes, View content);
    ScrollView(AxisSet axes, bool showsIndicators, View content);

    // The scroll view of `element` (an element of a ScrollView, or any element inside one).
    static graphics::CGPoint contentOffset(const Element& element);
    // Scrolls to `offset`, kept inside the content; the change shows after the next update.
    static void setContentOffset(Element& element, graphics::CGPoint offset);

    // For input. The scroll views whose viewport shows `point` (root coordinates), innermost
    // first; none inside views scrolled out of sight.
    static std::vector<Element*> scrollViewsAt(Element& root, graphics::CGPoint point);
    // All shown scroll views, in tree order.
    static std::vector<Element*> scrollViews(Element& root);
    // Whether the scroll view can still move by `delta` (positive: towards the content's end)
    // along an axis it scrolls. One that scrolls only sideways takes a vertical delta sideways.
    static bool canScrollBy(const Element& scrollView, graphics::CGSize delta);
    // Moves it by `delta`, kept inside the content; whether it moved.
    static bool scrollBy(Element& scrollView, graphics::CGSize delta);
    // How far a page moves: the viewport's height, less a line so that one stays in sight.
    static CGFloat pageLength(const Element& scrollView);
    // Scrolls to the start or the end of the content along its scrolled axis.
    static bool scrollToEdge(Element& scrollView, bool end);

    // A drag of a scroll indicator: the content follows the pointer, the whole track standing
    // for the whole content.
    struct IndicatorDrag {
        std::weak_ptr<detail::ElementRef> scrollView;
        bool vertical = true;
        CGFloat startPointer = 0;  // along the indicator's axis, root coordinates
        graphics::CGPoint startOffset;
        CGFloat contentPerPoint = 0;  // content moved per point the pointer moves
    };
    // A drag that starts at `point` when it lies on an indicator of a scroll view there; a
    // press on an indicator's track away from its thumb moves a page towards the press first.
    static std::optional<IndicatorDrag> beginIndicatorDrag(Element& root, graphics::CGPoint point);
    static void continueIndicatorDrag(const IndicatorDrag& drag, graphics::CGPoint point);
};

// Scrolls the scroll views inside a ScrollViewReader.
class ScrollViewProxy {
public:
    ScrollViewProxy() = default;
    explicit ScrollViewProxy(std::weak_ptr<detail::ElementRef> reader)
        : reader_(std::move(reader)) {}

    // Scrolls the enclosing scroll view so the view with `id` shows. With an anchor (a unit
    // point: 0 to 1 on each axis) that point of the view lines up with the same point of the
    // viewport; without one the view just comes fully into sight. Nothing happens when no view
    // has that id or the reader is gone.
    template <class ID> void scrollTo(ID id, std::optional<graphics::CGPoint> anchor = std::nullopt) const {
        if constexpr (std::is_convertible_v<ID, std::string_view>)
            scrollToErased(foundation::AnyHashable(std::string(std::string_view(id))), anchor);
        else
            scrollToErased(foundation::AnyHashable(std::move(id)), anchor);
    }
    void scrollToErased(const foundation::AnyHashable& id, std::optional<graphics::CGPoint> anchor) const;

    bool operator==(const ScrollViewProxy& other) const {
        return !reader_.owner_before(other.reader_) && !other.reader_.owner_before(reader_);
    }

private:
    std::weak_ptr<detail::ElementRef> reader_;
};

class ScrollViewReader : public View {
public:
    explicit ScrollViewReader(std::function<View(const ScrollViewProxy&)> content);
};

} // namespace ui
