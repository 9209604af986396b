#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/EventModifiers.h"
#include "ui/KeyPress.h"

#include <optional>

namespace ui {

class Element;
class Graph;

// A pointer event in the root view's coordinates.
struct PointerEvent {
    enum class Button { primary, secondary };

    graphics::CGPoint location;
    Button button = Button::primary;
    EventModifiers modifiers;
    // The click's place in a series of clicks, when the platform counts them; otherwise the
    // dispatcher counts by time and distance.
    std::optional<int> clickCount;
};

// A scroll of the wheel or touchpad in the root view's coordinates. `delta` is how far the
// content should move in the viewport: positive shows what lies further down (or on).
struct ScrollEvent {
    graphics::CGPoint location;
    graphics::CGSize delta;
    EventModifiers modifiers;
};

// Routes a window's input to the views of its graph: pointer events to the gestures under the
// pointer (the innermost view's first), presses on scroll indicators to the indicator, scrolls
// to the innermost scroll view under the pointer that can still move that way, hover to
// onHover, keys to the views around the keyboard focus, then Tab to the focus order, then
// keyboard shortcuts, then the page keys (Page Up/Down, Home/End move the scroll view around
// the focus, else the one under the pointer, else the first), and modifier-key changes to
// their observers. Any number of dispatchers over one graph share its event state. Call between
// updates on the main thread; the writes that callbacks make take effect at the next update.
class EventDispatcher {
public:
    static constexpr double doubleClickInterval = 0.5; // seconds between clicks of a series
    static constexpr double doubleClickDistance = 5;   // how far apart they may be

    explicit EventDispatcher(Graph& graph)
        : graph_(graph) {}

    // Whether a gesture or a secondary-click target took the press.
    bool pointerDown(const PointerEvent& event);
    void pointerMoved(const PointerEvent& event);
    void pointerUp(const PointerEvent& event);
    // Whether a scroll view moved.
    bool scroll(const ScrollEvent& event);
    // The pointer left the window: hovering ends.
    void pointerExited();
    // Ends a press without a release (the window lost the pointer): gestures end unrecognised.
    void cancelPointer();

    // Whether a view took the key (handled), moved the focus or ran a shortcut.
    bool keyPress(const KeyPress& press);
    void modifiersChanged(EventModifiers modifiers);
    EventModifiers modifiers() const;

    Element* focusedElement() const;
    // For hosted views that take the focus themselves; nullptr clears it. Writes the bindings.
    void focus(Element* element);
    // Tab and Shift-Tab: the next or previous focus target in tree order, wrapping around.
    bool moveFocus(bool forward);

private:
    Graph& graph_;
};

} // namespace ui
