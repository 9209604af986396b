#include "events/UserScrolling.h"

#include "ui/ScrollDisabled.h"

#include <algorithm>

namespace ui::detail {

namespace {

void collect(Element& element, std::vector<Element*>& out) {
    if (!element.isVisible() || element.isHidden() || element.isLeaving()) return;
    if (userScrollable(element) && !element.environment().get<ScrollDisabledKey>()) out.push_back(&element);
    for (const auto& child : element.children())
        collect(*child, out);
}

} // namespace

std::vector<Element*> userScrollables(Element& root) {
    std::vector<Element*> all;
    collect(root, all);
    return all;
}

std::vector<Element*> userScrollablesAt(Element& root, graphics::CGPoint point) {
    std::vector<Element*> under;
    for (Element* element : userScrollables(root)) {
        if (element->globalFrame().contains(point)) under.push_back(element);
    }
    std::reverse(under.begin(), under.end());
    return under;
}

} // namespace ui::detail
