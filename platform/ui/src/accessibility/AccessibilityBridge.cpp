#include "AccessibilityBridge.h"

#include "ElementInterface.h"
#include "WindowInterface.h"

#include "ui/Element.h"
#include "ui/EventDispatcher.h"
#include "ui/HostingWindow.h"

#include <QAccessibleEvent>
#include <QWidget>

#include <vector>

namespace ui::detail {

namespace {

QAccessibleInterface* makeInterface(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<HostingWindow*>(object)) return new WindowInterface(*window);
    return nullptr;
}

const AccessibilityObject* focusedObject(const AccessibilityObject& object) {
    for (const auto& child : object.children) {
        if (const auto* inner = focusedObject(child)) return inner;
    }
    return object.state.focused && object.role != AccessibilityRole::window ? &object : nullptr;
}

QAccessible::State changedStates(const AccessibilityState& before, const AccessibilityState& now) {
    QAccessible::State changed;
    changed.focused = before.focused != now.focused;
    changed.checked = before.checked != now.checked;
    changed.disabled = before.disabled != now.disabled;
    changed.selected = before.selected != now.selected;
    changed.invisible = before.invisible != now.invisible;
    return changed;
}

} // namespace

void installAccessibilityFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&makeInterface);
        return true;
    }();
    (void)installed;
}

AccessibilityBridge::AccessibilityBridge(HostingWindow& window)
    : window_(window) {
    // What stands when assistive technology first asks is not news.
    tree();
    announced_ = announcedState();
    announcedAt_ = window_.graph().causedLayoutCount();
    primed_ = true;
    const auto* focused = focusedObject(tree_);
    announcedFocus_ = focused ? focused->element : nullptr;
}

AccessibilityBridge::~AccessibilityBridge() {
    for (const auto& [element, id] : interfaces_)
        QAccessible::deleteAccessibleInterface(id);
}

const AccessibilityObject& AccessibilityBridge::tree() {
    Graph& graph = window_.graph();
    if (built_ && builtAt_ == graph.layoutGeneration()) return tree_;
    tree_ = accessibilityTree(graph);
    built_ = true;
    builtAt_ = graph.layoutGeneration();
    objects_.clear();
    parents_.clear();
    for (const auto& child : tree_.children)
        index(child, tree_);
    // Hosted widgets are named as the views around them say; told once the tree is whole, as
    // renaming is announced at once.
    for (const auto& [element, object] : objects_) {
        if (object->widget && object->widget->accessibleName().toStdString() != object->name)
            object->widget->setAccessibleName(QString::fromStdString(object->name));
    }
    return tree_;
}

void AccessibilityBridge::index(const AccessibilityObject& object, const AccessibilityObject& parent) {
    objects_[object.element] = &object;
    parents_[object.element] = &parent;
    for (const auto& child : object.children)
        index(child, object);
}

const AccessibilityObject* AccessibilityBridge::find(const Element* element) {
    tree();
    auto it = objects_.find(element);
    return it == objects_.end() ? nullptr : it->second;
}

const AccessibilityObject* AccessibilityBridge::parentOf(const Element* element) {
    tree();
    auto it = parents_.find(element);
    return it == parents_.end() ? nullptr : it->second;
}

QAccessibleInterface* AccessibilityBridge::windowInterface() const {
    return QAccessible::queryAccessibleInterface(&window_);
}

QAccessibleInterface* AccessibilityBridge::interfaceFor(const AccessibilityObject& object) {
    if (object.widget) return QAccessible::queryAccessibleInterface(object.widget);
    if (auto it = interfaces_.find(object.element); it != interfaces_.end()) {
        if (auto* existing = QAccessible::accessibleInterface(it->second)) return existing;
    }
    auto* made = new ElementInterface(*this, *object.element);
    interfaces_[object.element] = QAccessible::registerAccessibleInterface(made);
    return made;
}

void AccessibilityBridge::press(const Element* element) {
    const auto* object = find(element);
    if (!object || object->state.disabled || object->frame.isEmpty()) return;
    PointerEvent click;
    click.location = {object->frame.midX(), object->frame.midY()};
    click.clickCount = 1;
    EventDispatcher events(window_.graph());
    events.pointerDown(click);
    events.pointerUp(click);
}

void AccessibilityBridge::dropInterface(const Element* element) {
    auto it = interfaces_.find(element);
    if (it == interfaces_.end()) return;
    QAccessible::deleteAccessibleInterface(it->second);
    interfaces_.erase(it);
}

void AccessibilityBridge::graphDidUpdate() {
    if (!isAccessibilityActive()) {
        // Nobody listens: interfaces of objects that went are let go, nothing is built.
        std::vector<const Element*> gone;
        for (const auto& [element, id] : interfaces_) {
            auto* iface = QAccessible::accessibleInterface(id);
            if (!iface || !iface->isValid()) gone.push_back(element);
        }
        for (const auto* element : gone)
            dropInterface(element);
        announcedAt_ = window_.graph().causedLayoutCount();
        announced_.clear();
        primed_ = false;
        built_ = false;
        return;
    }
    // Frames of an animation change no name, value or state, and bring nothing new.
    if (window_.graph().causedLayoutCount() == announcedAt_) return;
    announcedAt_ = window_.graph().causedLayoutCount();
    announce();
}

std::unordered_map<const Element*, AccessibilityBridge::Announced> AccessibilityBridge::announcedState() {
    std::unordered_map<const Element*, Announced> result;
    for (const auto& [element, object] : objects_)
        result[element] = {object->name, object->value, object->state};
    return result;
}

void AccessibilityBridge::announce() {
    tree();
    auto now = announcedState();
    std::vector<const Element*> gone;
    for (const auto& [element, id] : interfaces_)
        if (!now.count(element)) gone.push_back(element);
    for (const auto* element : gone) {
        if (auto* iface = QAccessible::accessibleInterface(interfaces_[element])) {
            QAccessibleEvent event(iface, QAccessible::ObjectDestroyed);
            announceEvent(event);
        }
        dropInterface(element);
    }
    if (primed_) {
        for (const auto& [element, state] : now) {
            const auto& object = *objects_[element];
            auto before = announced_.find(element);
            if (before == announced_.end()) {
                QAccessibleEvent event(interfaceFor(object), QAccessible::ObjectCreated);
                announceEvent(event);
                continue;
            }
            if (object.widget) continue; // it speaks for itself
            if (before->second.name != state.name) {
                QAccessibleEvent event(interfaceFor(object), QAccessible::NameChanged);
                announceEvent(event);
            }
            if (before->second.value != state.value) {
                QAccessibleValueChangeEvent event(interfaceFor(object), QString::fromStdString(state.value));
                announceEvent(event);
            }
            if (before->second.state != state.state) {
                QAccessibleStateChangeEvent event(interfaceFor(object),
                                                  changedStates(before->second.state, state.state));
                announceEvent(event);
            }
        }
    }
    announced_ = std::move(now);
    primed_ = true;

    const auto* focused = focusedObject(tree_);
    const Element* focusedElement = focused ? focused->element : nullptr;
    if (focusedElement == announcedFocus_) return;
    announcedFocus_ = focusedElement;
    // A widget that took Qt's focus has told of it itself.
    if (!focused || (focused->widget && focused->widget->hasFocus())) return;
    QAccessibleEvent event(interfaceFor(*focused), QAccessible::Focus);
    announceEvent(event);
}

} // namespace ui::detail

namespace ui {

namespace {
std::optional<bool>& activeOverride() {
    static std::optional<bool> active;
    return active;
}
std::function<void(QAccessibleEvent&)>& announcer() {
    static std::function<void(QAccessibleEvent&)> announce;
    return announce;
}
} // namespace

bool isAccessibilityActive() {
    return activeOverride().value_or(QAccessible::isActive());
}

void overrideAccessibilityActive(std::optional<bool> active) {
    activeOverride() = active;
}

void setAccessibilityAnnouncer(std::function<void(QAccessibleEvent&)> announce) {
    announcer() = std::move(announce);
}

void announceEvent(QAccessibleEvent& event) {
    if (announcer())
        announcer()(event);
    else
        QAccessible::updateAccessibility(&event);
}

} // namespace ui
