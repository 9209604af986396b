#pragma once

#include "ui/Preference.h"
#include "ui/View.h"

#include <functional>
#include <vector>

namespace ui {

class Element;

// Where in the window's title area a toolbar item stands: automatic and primaryAction at the
// trailing end, navigation at the leading end, principal in the middle.
enum class ToolbarItemPlacement { automatic, navigation, principal, primaryAction };

// One item of a window's toolbar: an ordinary view (a button, a label, ...), so taps,
// shortcuts and disabled state work as anywhere else in the window.
struct ToolbarItem {
    ToolbarItemPlacement placement = ToolbarItemPlacement::automatic;
    View content;

    ToolbarItem(ToolbarItemPlacement placement, View content)
        : placement(placement)
        , content(std::move(content)) {}

    // The same item: the same place and the same description.
    friend bool operator==(const ToolbarItem& a, const ToolbarItem& b) {
        return a.placement == b.placement && a.content.node() == b.content.node();
    }
};

// The items View::toolbar hands up, in tree order; the window's title area shows them.
struct ToolbarItemsKey {
    using Value = std::vector<ToolbarItem>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

// How tall the title area that holds the toolbar is.
enum class WindowToolbarStyle { automatic, unified, unifiedCompact };

struct WindowToolbarStyleKey {
    using Value = WindowToolbarStyle;
    static Value defaultValue() { return WindowToolbarStyle::automatic; }
};

// The title area's height in points for a style, when it holds items.
CGFloat toolbarHeight(WindowToolbarStyle style);

// For window hosts: `content` below a title area made of the toolbar items the content hands
// up. Without items there is no title area, and the content is laid out as it is.
View toolbarArea(View content);
// The height of the title area of a toolbarArea's element (or of a root holding one); 0 without one.
CGFloat toolbarAreaHeight(Element& element);

} // namespace ui
