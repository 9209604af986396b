// What assistive technology sees of one hosting window, through Qt's accessibility.
#pragma once

#include "ui/AccessibilityTree.h"

#include <QAccessible>

#include <cstdint>
#include <memory>
#include <unordered_map>

class QAccessibleInterface;

namespace ui {

class Element;
class HostingWindow;

namespace detail {

class ElementInterface;

// Keeps the window's accessibility tree (built again once the graph has moved on), the
// interfaces handed out for its objects, and announces changes after the updates that caused
// them. Made when assistive technology first asks for the window; until then, and while none
// is active, nothing is built or sent.
class AccessibilityBridge {
public:
    explicit AccessibilityBridge(HostingWindow& window);
    ~AccessibilityBridge();
    AccessibilityBridge(const AccessibilityBridge&) = delete;
    AccessibilityBridge& operator=(const AccessibilityBridge&) = delete;

    HostingWindow& window() const { return window_; }
    const AccessibilityObject& tree();
    // The object standing for `element` in the tree as it stands, and the one holding it (the
    // root for the window's own children).
    const AccessibilityObject* find(const Element* element);
    const AccessibilityObject* parentOf(const Element* element);
    // The interface of an object: a hosted widget's own, else one of ours, kept while the
    // object stands.
    QAccessibleInterface* interfaceFor(const AccessibilityObject& object);
    QAccessibleInterface* windowInterface() const;
    // The object's action, through the same path as a click at its centre.
    void press(const Element* element);

    // After each update of the graph.
    void graphDidUpdate();

private:
    struct Announced {
        std::string name;
        std::string value;
        AccessibilityState state;
    };
    void index(const AccessibilityObject& object, const AccessibilityObject& parent);
    std::unordered_map<const Element*, Announced> announcedState();
    void announce();
    void dropInterface(const Element* element);

    HostingWindow& window_;
    AccessibilityObject tree_;
    std::uint64_t builtAt_ = 0;
    bool built_ = false;
    std::uint64_t announcedAt_ = 0;
    std::unordered_map<const Element*, const AccessibilityObject*> objects_;
    std::unordered_map<const Element*, const AccessibilityObject*> parents_;
    std::unordered_map<const Element*, QAccessible::Id> interfaces_;
    std::unordered_map<const Element*, Announced> announced_;
    const Element* announcedFocus_ = nullptr;
    bool primed_ = false; // announced_ holds what was last told
};

// Makes Qt ask us for the interfaces of hosting windows; once per program.
void installAccessibilityFactory();

} // namespace detail

} // namespace ui
