// The nodes of the event modifiers and the per-graph event state they share with the dispatcher.
#pragma once

#include "events/UserScrolling.h"
#include "ui/AlikeNode.h"
#include "ui/Element.h"
#include "ui/EventModifiers.h"
#include "ui/Gesture.h"
#include "ui/Graph.h"
#include "ui/HitTesting.h"
#include "ui/KeyPress.h"
#include "ui/ViewNodes.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace ui::detail {

// Event nodes are read when events arrive: descriptions of one kind are alike.
class GestureNode final : public TransparentWrapperNode, public AlikeNode {
public:
    GestureNode(View content, std::shared_ptr<const Gesture> gesture, GestureMask mask, bool simultaneous)
        : TransparentWrapperNode(std::move(content))
        , gesture_(std::move(gesture))
        , mask_(mask)
        , simultaneous_(simultaneous) {}
    std::string_view typeName() const override { return simultaneous_ ? "SimultaneousGesture" : "Gesture"; }
    bool alike(const ViewNode& previous) const override { return sameType<GestureNode>(previous); }
    const std::shared_ptr<const Gesture>& gesture() const { return gesture_; }
    GestureMask mask() const { return mask_; }
    bool isSimultaneous() const { return simultaneous_; }

private:
    std::shared_ptr<const Gesture> gesture_;
    GestureMask mask_;
    bool simultaneous_;
};

class HoverNode final : public TransparentWrapperNode, public AlikeNode {
public:
    HoverNode(View content, std::function<void(bool)> action)
        : TransparentWrapperNode(std::move(content))
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "OnHover"; }
    bool alike(const ViewNode& previous) const override { return sameType<HoverNode>(previous); }
    const std::function<void(bool)>& action() const { return action_; }

private:
    std::function<void(bool)> action_;
};

class KeyPressNode final : public TransparentWrapperNode, public AlikeNode {
public:
    KeyPressNode(View content, std::function<KeyPress::Result(const KeyPress&)> action)
        : TransparentWrapperNode(std::move(content))
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "OnKeyPress"; }
    bool alike(const ViewNode& previous) const override { return sameType<KeyPressNode>(previous); }
    const std::function<KeyPress::Result(const KeyPress&)>& action() const { return action_; }

private:
    std::function<KeyPress::Result(const KeyPress&)> action_;
};

class ShortcutTargetNode final : public TransparentWrapperNode {
public:
    ShortcutTargetNode(View content, std::function<void()> action)
        : TransparentWrapperNode(std::move(content))
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "KeyboardShortcutTarget"; }
    const std::function<void()>& action() const { return action_; }

private:
    std::function<void()> action_;
};

class SecondaryClickNode final : public TransparentWrapperNode {
public:
    SecondaryClickNode(View content, std::function<void(graphics::CGPoint)> action)
        : TransparentWrapperNode(std::move(content))
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "SecondaryClickTarget"; }
    const std::function<void(graphics::CGPoint)>& action() const { return action_; }

private:
    std::function<void(graphics::CGPoint)> action_;
};

class ModifierKeysNode final : public TransparentWrapperNode {
public:
    using Action = std::function<void(EventModifiers, EventModifiers)>;
    ModifierKeysNode(View content, EventModifiers mask, bool initial, Action action)
        : TransparentWrapperNode(std::move(content))
        , mask_(mask)
        , initial_(initial)
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "OnModifierKeysChanged"; }
    void visibilityChanged(Element& element, bool visible) const override;
    EventModifiers mask() const { return mask_; }
    const Action& action() const { return action_; }

private:
    EventModifiers mask_;
    bool initial_;
    Action action_;
};

class FocusableNode final : public TransparentWrapperNode {
public:
    FocusableNode(View content, bool enabled)
        : TransparentWrapperNode(std::move(content))
        , enabled_(enabled) {}
    std::string_view typeName() const override { return "Focusable"; }
    void update(Element& element) const override;
    void visibilityChanged(Element& element, bool visible) const override;
    bool isEnabled() const { return enabled_; }

private:
    bool enabled_;
};

class FocusedNode final : public TransparentWrapperNode {
public:
    FocusedNode(View content, std::function<bool()> isFocused, std::function<void(bool)> setFocused)
        : TransparentWrapperNode(std::move(content))
        , isFocused_(std::move(isFocused))
        , setFocused_(std::move(setFocused)) {}
    std::string_view typeName() const override { return "Focused"; }
    void update(Element& element) const override;
    void visibilityChanged(Element& element, bool visible) const override;
    bool isFocused() const { return isFocused_(); }
    const std::function<void(bool)>& setFocused() const { return setFocused_; }

private:
    std::function<bool()> isFocused_;
    std::function<void(bool)> setFocused_;
};

class PointerArena;

// What a graph's events remember between events; kept by its root element.
struct EventState {
    std::weak_ptr<ElementRef> focused;
    EventModifiers modifiers;
    std::shared_ptr<PointerArena> arena;
    std::vector<std::weak_ptr<ElementRef>> hovered; // outermost first
    // A scroll indicator being dragged, and where the pointer was last.
    std::optional<IndicatorDrag> indicatorDrag;
    std::optional<graphics::CGPoint> pointer;
    double lastClickTime = -std::numeric_limits<double>::infinity();
    QPointF lastClickPoint;
    int clickCount = 0;
    // A press on a focus target inside a draggable view: it takes the focus when released
    // without the drag beginning, so that dragging does not start an edit.
    struct PendingFocus {
        std::weak_ptr<ElementRef> target;
        QPointF at;
        CGFloat slop = 0;
    };
    std::optional<PendingFocus> pendingFocus;
};

EventState& eventState(Graph& graph);
// The element holding the keyboard focus, if it is still shown.
Element* focusedElement(Graph& graph);
// Moves the focus and writes the focus bindings that change; inside an update the writes wait
// for its actions.
void setFocus(Graph& graph, Element* target, bool deferWrites);
// Where the focus may rest: a focusable view, or a focused() view with none inside.
bool isFocusTarget(const Element& element);
class HostedWidget;
// The hosted widget of `element` when it takes text input (and so takes the focus itself).
HostedWidget* hostedTextInput(const Element* element);
Element* firstFocusTarget(Element& within);
bool isInside(const Element* element, const Element* ancestor);

} // namespace ui::detail
