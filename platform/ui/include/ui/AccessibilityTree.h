#pragma once

#include "graphics/CGRect.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAccessibleEvent;
class QWidget;

namespace ui {

class Element;
class Graph;

// What an accessibility object is to assistive technology.
enum class AccessibilityRole {
    window,
    group,
    button,
    menuButton,
    checkBox,
    radioButton,
    comboBox,
    list,
    listItem,
    staticText,
    heading,
    textField,
    tabList,
    tab,
    dialog,
    image,
    link,
};

struct AccessibilityState {
    bool focusable = false;
    bool focused = false;
    bool checkable = false;
    bool checked = false;
    bool disabled = false;
    bool selected = false;
    bool invisible = false;
    bool operator==(const AccessibilityState&) const = default;
};

// One object of the accessibility tree: a leaf showing text or an image, a control, or a view
// its modifiers made one element, with what assistive technology reads of it.
struct AccessibilityObject {
    const Element* element = nullptr; // the element it stands for; its identity across updates
    QWidget* widget = nullptr;        // a hosted widget that speaks for itself
    AccessibilityRole role = AccessibilityRole::group;
    std::string name;
    std::string value;
    std::string description;
    std::string identifier;
    AccessibilityState state;
    graphics::CGRect frame;              // where it shows, in the root's coordinates
    std::optional<std::size_t> rowCount; // a list's rows, built or not
    std::vector<AccessibilityObject> children;
};

// The accessibility tree of a graph as it stands: the root object (a window) holding the
// objects its views make. Subtrees marked hidden, rows scrolled away and views with no meaning
// of their own (spacers, shapes, pure layout) make no object.
AccessibilityObject accessibilityTree(Graph& graph);

// Whether assistive technology listens, as Qt tells; hosting windows build and announce
// nothing while it does not. Platforms without accessibility (offscreen) never say yes, so
// tests say it themselves; nullopt goes back to asking Qt.
bool isAccessibilityActive();
void overrideAccessibilityActive(std::optional<bool> active);
// Where the windows' announcements go: to Qt (which drops them where it has no accessibility),
// unless something else takes them; an empty function goes back to Qt.
void setAccessibilityAnnouncer(std::function<void(QAccessibleEvent&)> announce);
void announceEvent(QAccessibleEvent& event);

} // namespace ui
