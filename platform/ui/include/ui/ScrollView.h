#pragma once

#include "foundation/AnyHashable.h"
#include "graphics/CGPoint.h"
#include "ui/LayoutAxis.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

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

    // How far Page Up and Page Down move the scroll view of `element`: its viewport's height,
    // less a line so that one stays in sight.
    static CGFloat pageLength(const Element& element);
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
