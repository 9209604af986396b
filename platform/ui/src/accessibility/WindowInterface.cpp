#include "WindowInterface.h"

#include "AccessibilityBridge.h"
#include "ElementInterface.h"

#include "ui/HostingWindow.h"

namespace ui::detail {

namespace {

// The innermost object with the keyboard focus.
const AccessibilityObject* focusedObject(const AccessibilityObject& object) {
    for (const auto& child : object.children) {
        if (const auto* inner = focusedObject(child)) return inner;
    }
    return object.state.focused ? &object : nullptr;
}

} // namespace

WindowInterface::WindowInterface(HostingWindow& window)
    : QAccessibleWidget(&window, window.isWindow() ? QAccessible::Window : QAccessible::Client) {}

AccessibilityBridge* WindowInterface::bridge() const {
    auto* window = static_cast<HostingWindow*>(widget());
    return window ? &window->accessibility() : nullptr;
}

int WindowInterface::childCount() const {
    auto* bridge = this->bridge();
    return bridge ? int(bridge->tree().children.size()) : 0;
}

QAccessibleInterface* WindowInterface::child(int index) const {
    auto* bridge = this->bridge();
    return bridge ? childInterface(*bridge, bridge->tree(), index) : nullptr;
}

int WindowInterface::indexOfChild(const QAccessibleInterface* child) const {
    auto* bridge = this->bridge();
    return bridge ? indexOfChildInterface(*bridge, bridge->tree(), child) : -1;
}

QAccessibleInterface* WindowInterface::childAt(int x, int y) const {
    auto* bridge = this->bridge();
    return bridge ? childInterfaceAt(*bridge, bridge->tree(), QPoint(x, y)) : nullptr;
}

QAccessibleInterface* WindowInterface::focusChild() const {
    auto* bridge = this->bridge();
    if (!bridge) return nullptr;
    const auto* focused = focusedObject(bridge->tree());
    return focused && focused->role != AccessibilityRole::window ? bridge->interfaceFor(*focused) : nullptr;
}

} // namespace ui::detail
