#include "EventNodes.h"

#include "ui/EnvironmentKeys.h"
#include "ui/FocusState.h"
#include "ui/Representable.h"

#include <algorithm>

namespace ui {

namespace detail {

EventState& eventState(Graph& graph) {
    return *graph.root().slot<EventState>("\x01events", [] { return std::make_shared<EventState>(); });
}

bool isInside(const Element* element, const Element* ancestor) {
    for (; element; element = element->parent()) {
        if (element == ancestor) return true;
    }
    return false;
}

Element* focusedElement(Graph& graph) {
    auto ref = eventState(graph).focused.lock();
    if (!ref || !ref->element || !ref->element->isVisible()) return nullptr;
    return ref->element;
}

namespace {

bool hasTargetBelow(const Element& element) {
    for (const auto& child : element.children()) {
        if (isFocusTarget(*child) || hasTargetBelow(*child)) return true;
    }
    return false;
}

// The focused() views around `element`, innermost first.
std::vector<Element*> enclosingFocusedViews(Element* element) {
    std::vector<Element*> result;
    for (; element; element = element->parent()) {
        if (element->nodeAs<FocusedNode>()) result.push_back(element);
    }
    return result;
}

// Updates the content with whether the focus is here.
void reconcileContent(Element& element, const View& content, bool focused) {
    EnvironmentValues environment = element.environment();
    environment.set<IsFocusedKey>(focused);
    element.reconcile({ChildSpec{content, {}, std::move(environment)}});
}

} // namespace

HostedWidget* hostedTextInput(const Element* element) {
    auto* hosted = element ? HostedWidgetNode::hosted(*element) : nullptr;
    return hosted && hosted->takesTextInput() ? hosted : nullptr;
}

bool isFocusTarget(const Element& element) {
    if (!element.environment().get<IsEnabledKey>()) return false;
    if (const auto* focusable = element.nodeAs<FocusableNode>()) return focusable->isEnabled();
    if (hostedTextInput(&element)) return true;
    return element.nodeAs<FocusedNode>() && !hasTargetBelow(element);
}

Element* firstFocusTarget(Element& within) {
    if (isFocusTarget(within)) return &within;
    for (const auto& child : within.children()) {
        if (auto* found = firstFocusTarget(*child)) return found;
    }
    return nullptr;
}

void setFocus(Graph& graph, Element* target, bool deferWrites) {
    auto& state = eventState(graph);
    Element* old = focusedElement(graph);
    if (old == target) {
        state.focused = target ? target->reference() : std::weak_ptr<ElementRef>();
        return;
    }
    const auto before = enclosingFocusedViews(old);
    const auto after = enclosingFocusedViews(target);
    state.focused = target ? target->reference() : std::weak_ptr<ElementRef>();
    // Both tell their content (IsFocusedKey) at the next pass.
    if (old) old->invalidate(Transaction::current());
    if (target) target->invalidate(Transaction::current());
    // A hosted editor hears at once, before the bindings change, so that what it ends editing
    // with is stored before anyone reacts to the move.
    if (auto* hosted = hostedTextInput(old)) hosted->viewFocusChanged(false);
    if (auto* hosted = hostedTextInput(target); hosted && focusedElement(graph) == target)
        hosted->viewFocusChanged(true);

    std::vector<std::function<void()>> writes;
    auto write = [&](Element* element, bool focus) {
        const auto& set = element->nodeAs<FocusedNode>()->setFocused();
        if (set) writes.push_back([set, focus] { set(focus); });
    };
    // Leaving first, so that one binding shared by both sides ends up naming the new view.
    for (auto* element : before) {
        if (std::find(after.begin(), after.end(), element) == after.end()) write(element, false);
    }
    for (auto it = after.rbegin(); it != after.rend(); ++it) {
        if (std::find(before.begin(), before.end(), *it) == before.end()) write(*it, true);
    }
    if (writes.empty()) return;
    if (deferWrites) {
        graph.enqueueAction([writes = std::move(writes)] {
            for (const auto& w : writes)
                w();
        });
        return;
    }
    for (const auto& w : writes)
        w();
}

void FocusedNode::update(Element& element) const {
    Graph& graph = element.graph();
    const bool bound = isFocused();
    reconcileContent(element, content_, bound);
    Element* focused = focusedElement(graph);
    const bool inside = isInside(focused, &element);
    if (bound) {
        if (inside) return;
        if (auto* target = firstFocusTarget(element)) setFocus(graph, target, true);
    } else if (inside) {
        // The binding let go of the focus.
        setFocus(graph, nullptr, true);
    }
}

void FocusedNode::visibilityChanged(Element& element, bool visible) const {
    if (visible) return;
    auto ref = eventState(element.graph()).focused.lock();
    if (!ref || !isInside(ref->element, &element)) return;
    eventState(element.graph()).focused.reset();
    // The focus goes with the view, so its binding no longer names it.
    if (setFocused_) element.graph().enqueueAction([set = setFocused_] { set(false); });
}

void FocusableNode::update(Element& element) const {
    auto ref = eventState(element.graph()).focused.lock();
    reconcileContent(element, content_, ref && ref->element == &element);
}

void FocusableNode::visibilityChanged(Element& element, bool visible) const {
    if (visible) return;
    auto& state = eventState(element.graph());
    auto ref = state.focused.lock();
    if (ref && ref->element == &element) state.focused.reset();
}

} // namespace detail

View View::focusable(bool isFocusable) const {
    return apply([=](View content) {
        return View(std::make_shared<detail::FocusableNode>(std::move(content), isFocusable));
    });
}

View View::focused(Binding<bool> binding) const {
    return focusedErased([binding] { return binding.get(); },
                         [binding](bool focus) {
                             if (focus || binding.get()) binding.set(focus);
                         });
}

View View::focusedErased(std::function<bool()> isFocused, std::function<void(bool)> setFocused) const {
    return apply([=](View content) {
        return View(std::make_shared<detail::FocusedNode>(std::move(content), isFocused, setFocused));
    });
}

} // namespace ui
