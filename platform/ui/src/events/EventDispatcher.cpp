#include "ui/EventDispatcher.h"

#include "DragSession.h"
#include "EventNodes.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventTargets.h"
#include "ui/HostedWidgets.h"
#include "ui/Transaction.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <utility>

namespace ui {

namespace detail {

// The gestures one press reaches, innermost first, and who has won. A gesture that begins or
// is recognised fails every other exclusive one still in play; when several do so on the same
// event, the innermost wins. Simultaneous gestures neither fail others nor are failed.
class PointerArena : public std::enable_shared_from_this<PointerArena> {
public:
    using Wish = GestureRecognizer::Wish;
    enum class Step { down, moved, up, timer };

    struct Participant {
        std::weak_ptr<ElementRef> element;
        std::unique_ptr<GestureRecognizer> recognizer;
        QTransform toGesture; // root points to the gesture's coordinate space
        graphics::CGSize size;
        bool simultaneous = false;
        bool active = false;
        bool done = false;
        foundation::RunLoop::Token timer = 0;
    };

    explicit PointerArena(int clickCount)
        : clickCount_(clickCount) {}
    ~PointerArena() {
        for (auto& p : participants_) {
            if (p.timer) foundation::RunLoop::main().cancel(p.timer);
        }
    }

    void add(Participant participant) { participants_.push_back(std::move(participant)); }
    bool isEmpty() const { return participants_.empty(); }
    // Whether a gesture of the press has begun and is still going (only drags begin).
    bool isDragging() const {
        return std::any_of(participants_.begin(), participants_.end(),
                           [](const Participant& p) { return p.active && !p.done; });
    }

    void start(graphics::CGPoint location, EventModifiers modifiers) {
        for (auto& p : participants_)
            p.recognizer->started();
        run(Step::down, location, modifiers, nullptr);
        std::weak_ptr<PointerArena> weak = shared_from_this();
        for (auto& p : participants_) {
            if (p.done) continue;
            if (auto delay = p.recognizer->timeout()) {
                p.timer = foundation::RunLoop::main().scheduleAfter(*delay, [weak, which = &p] {
                    if (auto arena = weak.lock()) arena->timerFired(which);
                });
            }
        }
    }
    void moved(graphics::CGPoint location, EventModifiers modifiers) {
        run(Step::moved, location, modifiers, nullptr);
    }
    void up(graphics::CGPoint location, EventModifiers modifiers) {
        run(Step::up, location, modifiers, nullptr);
        cancel();
    }
    void cancel() {
        for (auto& p : participants_)
            finish(p);
    }

private:
    void timerFired(Participant* which) {
        which->timer = 0;
        run(Step::timer, lastLocation_, lastModifiers_, which);
    }

    void finish(Participant& p) {
        if (p.done) return;
        p.done = true;
        if (p.timer) foundation::RunLoop::main().cancel(p.timer);
        p.timer = 0;
        if (alive(p)) p.recognizer->finished();
    }
    static bool alive(const Participant& p) {
        auto ref = p.element.lock();
        return ref && ref->element;
    }
    static bool leaving(const Participant& p) {
        auto ref = p.element.lock();
        return ref && ref->element && ref->element->isLeaving();
    }

    void run(Step step, graphics::CGPoint location, EventModifiers modifiers, Participant* only) {
        lastLocation_ = location;
        lastModifiers_ = modifiers;
        const double time = foundation::Clock::current()->uptime();
        std::vector<Wish> wishes(participants_.size(), Wish::none);
        for (std::size_t i = 0; i < participants_.size(); ++i) {
            auto& p = participants_[i];
            if (p.done) continue;
            if (!alive(p)) {
                p.done = true; // its view is gone, and with it what its callbacks would reach
                continue;
            }
            if (leaving(p)) {
                finish(p); // its view was removed and only paints on its way out
                continue;
            }
            if (only && only != &p) continue;
            GestureSample sample{p.toGesture.map(QPointF(location.x, location.y)), time, clickCount_,
                                 modifiers, p.size};
            switch (step) {
            case Step::down:
                wishes[i] = p.recognizer->down(sample);
                break;
            case Step::moved:
                wishes[i] = p.recognizer->moved(sample);
                break;
            case Step::up:
                wishes[i] = p.recognizer->up(sample);
                break;
            case Step::timer:
                wishes[i] = p.recognizer->timerFired();
                break;
            }
        }
        // The innermost exclusive gesture that would start now wins over the others.
        std::optional<std::size_t> winner;
        for (std::size_t i = 0; i < participants_.size(); ++i) {
            const auto& p = participants_[i];
            if (p.done || p.simultaneous || p.active) continue;
            if (wishes[i] == Wish::begin || wishes[i] == Wish::recognize) {
                winner = i;
                break;
            }
        }
        std::vector<std::size_t> perform;
        for (std::size_t i = 0; i < participants_.size(); ++i) {
            auto& p = participants_[i];
            if (p.done) continue;
            const bool beaten = winner && i != *winner && !p.simultaneous;
            if (beaten || wishes[i] == Wish::fail) {
                finish(p);
                continue;
            }
            if (wishes[i] != Wish::none) perform.push_back(i);
        }
        withTransaction(Transaction(), [&] {
            for (auto i : perform) {
                auto& p = participants_[i];
                if (p.done || !alive(p) || leaving(p)) continue;
                if (wishes[i] == Wish::begin) p.active = true;
                p.recognizer->perform(wishes[i]);
                if (wishes[i] == Wish::recognize) finish(p);
            }
        });
    }

    std::vector<Participant> participants_;
    int clickCount_;
    graphics::CGPoint lastLocation_;
    EventModifiers lastModifiers_;
};

} // namespace detail

namespace {

void continueIndicatorDrag(const detail::IndicatorDrag& drag, graphics::CGPoint point) {
    auto ref = drag.scrollView.lock();
    if (!ref || !ref->element) return;
    if (const auto* node = detail::userScrollable(*ref->element)) node->continueIndicatorDrag(*ref->element, drag, point);
}

using detail::EventState;

void collectTargets(Element& element, std::vector<Element*>& out) {
    if (!element.isVisible()) return;
    if (detail::isFocusTarget(element)) out.push_back(&element);
    for (const auto& child : element.children())
        collectTargets(*child, out);
}

void collectShortcutTargets(Element& element, std::vector<Element*>& out) {
    if (!element.isVisible()) return;
    if (element.nodeAs<detail::ShortcutTargetNode>()) out.push_back(&element);
    for (const auto& child : element.children())
        collectShortcutTargets(*child, out);
}

void collectModifierObservers(Element& element, std::vector<Element*>& out) {
    if (!element.isVisible()) return;
    if (element.nodeAs<detail::ModifierKeysNode>()) out.push_back(&element);
    for (const auto& child : element.children())
        collectModifierObservers(*child, out);
}

char32_t folded(char32_t c) {
    return c < 0x80 ? char32_t(std::towlower(wint_t(c))) : c;
}

constexpr EventModifiers shortcutModifiers =
    EventModifiers::shift | EventModifiers::control | EventModifiers::option | EventModifiers::command;

bool enabled(const Element& element) {
    return element.environment().get<IsEnabledKey>();
}


// How far the pointer may move before a drag around `target` begins, when a view around it
// (on the hit path) can be dragged.
std::optional<CGFloat> dragSlopAbove(const std::vector<HitPathEntry>& path, const Element* target) {
    for (const auto& entry : path) {
        if (entry.element == target || !detail::isInside(target, entry.element)) continue;
        const auto* node = entry.element->nodeAs<detail::GestureNode>();
        if (!node || !node->mask().contains(GestureMask::gesture) || !enabled(*entry.element)) continue;
        const auto* drag = dynamic_cast<const DragGesture*>(node->gesture().get());
        if (drag && drag->minimumDistance() > 0) return drag->minimumDistance();
    }
    return std::nullopt;
}

// A press on a painted editor that has the focus goes on to the editor once it shows.
bool pressPaintedEditor(Graph& graph, const HitPathEntry& top) {
    auto* hosted = detail::hostedTextInput(top.element);
    if (!hosted || hosted->isLive() || detail::focusedElement(graph) != top.element) return false;
    const auto origin = top.element->frame().origin;
    hosted->pressWhilePainted(top.point - QPointF(origin.x, origin.y));
    return true;
}

} // namespace

EventModifiers EventDispatcher::modifiers() const {
    return detail::eventState(graph_).modifiers;
}

void EventDispatcher::modifiersChanged(EventModifiers now) {
    auto& state = detail::eventState(graph_);
    const EventModifiers old = state.modifiers;
    if (old == now) return;
    state.modifiers = now;
    std::vector<Element*> observers;
    collectModifierObservers(graph_.root(), observers);
    std::vector<std::pair<std::function<void(EventModifiers, EventModifiers)>,
                          std::pair<EventModifiers, EventModifiers>>>
        calls;
    for (auto* element : observers) {
        const auto* node = element->nodeAs<detail::ModifierKeysNode>();
        const auto before = old.intersection(node->mask());
        const auto after = now.intersection(node->mask());
        if (before != after && node->action()) calls.push_back({node->action(), {before, after}});
    }
    withTransaction(Transaction(), [&] {
        for (const auto& [action, change] : calls)
            action(change.first, change.second);
    });
}

bool EventDispatcher::pointerDown(const PointerEvent& event) {
    modifiersChanged(event.modifiers);
    auto& state = detail::eventState(graph_);
    if (state.arena) {
        auto previous = std::move(state.arena);
        previous->cancel();
    }
    pointerMoved(event);
    if (event.button == PointerEvent::Button::primary) {
        for (Element* scrollable : detail::userScrollablesAt(graph_.root(), event.location)) {
            state.indicatorDrag = detail::userScrollable(*scrollable)->beginIndicatorDrag(*scrollable, event.location);
            if (state.indicatorDrag) return true;
        }
    }
    const auto path = hitTest(graph_, event.location);

    if (event.button == PointerEvent::Button::secondary) {
        for (const auto& entry : path) {
            const auto* node = entry.element->nodeAs<detail::SecondaryClickNode>();
            if (!node || !enabled(*entry.element)) continue;
            const auto origin = entry.element->frame().origin;
            const graphics::CGPoint local{entry.point.x() - origin.x, entry.point.y() - origin.y};
            if (node->action()) withTransaction(Transaction(), [&] { node->action()(local); });
            return true;
        }
        return false;
    }

    const double now = foundation::Clock::current()->uptime();
    const QPointF at(event.location.x, event.location.y);
    const QPointF apart = at - state.lastClickPoint;
    if (event.clickCount) {
        state.clickCount = std::max(1, *event.clickCount);
    } else if (now - state.lastClickTime <= doubleClickInterval &&
               std::hypot(apart.x(), apart.y()) <= doubleClickDistance) {
        ++state.clickCount;
    } else {
        state.clickCount = 1;
    }
    state.lastClickTime = now;
    state.lastClickPoint = at;

    // A click on a focus target gives it the focus; inside a view that can be dragged, only
    // once released without dragging.
    state.pendingFocus.reset();
    bool pressedEditor = false;
    for (const auto& entry : path) {
        if (!detail::isFocusTarget(*entry.element)) continue;
        if (const auto slop = dragSlopAbove(path, entry.element)) {
            state.pendingFocus = detail::EventState::PendingFocus{entry.element->reference(), at, *slop};
            pressedEditor = true;
        } else {
            detail::setFocus(graph_, entry.element, false);
            pressedEditor = pressPaintedEditor(graph_, path.front());
        }
        break;
    }

    auto arena = std::make_shared<detail::PointerArena>(state.clickCount);
    std::vector<detail::PointerArena::Participant> found;
    for (const auto& entry : path) {
        const auto* node = entry.element->nodeAs<detail::GestureNode>();
        if (!node) continue;
        // A gesture without its subviews' gestures drops the inner ones found so far.
        if (!node->mask().contains(GestureMask::subviews)) found.clear();
        if (!node->mask().contains(GestureMask::gesture) || !enabled(*entry.element)) continue;
        detail::PointerArena::Participant p;
        p.element = entry.element->reference();
        auto current = [ref = p.element]() -> std::shared_ptr<const Gesture> {
            auto alive = ref.lock();
            if (!alive || !alive->element) return nullptr;
            const auto* now = alive->element->nodeAs<detail::GestureNode>();
            return now ? now->gesture() : nullptr;
        };
        p.recognizer = node->gesture()->makeRecognizer(std::move(current));
        p.simultaneous = node->isSimultaneous();
        p.size = entry.element->frame().size;
        p.toGesture = entry.toElement;
        const auto* drag = dynamic_cast<const DragGesture*>(node->gesture().get());
        if (!drag || drag->coordinateSpace() == CoordinateSpace::local) {
            const auto origin = entry.element->frame().origin;
            p.toGesture = p.toGesture * QTransform::fromTranslate(-origin.x, -origin.y);
        } else {
            p.toGesture = QTransform();
        }
        found.push_back(std::move(p));
    }
    if (found.empty()) return pressedEditor;
    for (auto& p : found)
        arena->add(std::move(p));
    state.arena = arena;
    arena->start(event.location, event.modifiers);
    return true;
}

void EventDispatcher::pointerMoved(const PointerEvent& event) {
    modifiersChanged(event.modifiers);
    auto& state = detail::eventState(graph_);
    state.pointer = event.location;
    if (state.indicatorDrag) {
        continueIndicatorDrag(*state.indicatorDrag, event.location);
        return;
    }
    if (auto arena = state.arena) arena->moved(event.location, event.modifiers);
    if (state.pendingFocus) {
        const QPointF moved = QPointF(event.location.x, event.location.y) - state.pendingFocus->at;
        if (std::hypot(moved.x(), moved.y()) >= state.pendingFocus->slop) state.pendingFocus.reset();
    }

    // Hovering follows the views under the pointer.
    std::vector<Element*> now;
    for (const auto& entry : hitTest(graph_, event.location)) {
        if (entry.element->nodeAs<detail::HoverNode>()) now.insert(now.begin(), entry.element);
    }
    std::vector<Element*> before;
    for (const auto& weak : state.hovered) {
        auto ref = weak.lock();
        if (ref && ref->element) before.push_back(ref->element);
    }
    std::vector<std::pair<std::function<void(bool)>, bool>> calls;
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        if (std::find(now.begin(), now.end(), *it) == now.end())
            calls.push_back({(*it)->nodeAs<detail::HoverNode>()->action(), false});
    }
    for (auto* element : now) {
        if (std::find(before.begin(), before.end(), element) == before.end())
            calls.push_back({element->nodeAs<detail::HoverNode>()->action(), true});
    }
    state.hovered.clear();
    for (auto* element : now)
        state.hovered.push_back(element->reference());
    withTransaction(Transaction(), [&] {
        for (const auto& [action, inside] : calls) {
            if (action) action(inside);
        }
    });
}

void EventDispatcher::pointerUp(const PointerEvent& event) {
    modifiersChanged(event.modifiers);
    auto& state = detail::eventState(graph_);
    if (state.indicatorDrag) {
        continueIndicatorDrag(*std::exchange(state.indicatorDrag, std::nullopt), event.location);
        return;
    }
    if (auto arena = std::move(state.arena)) arena->up(event.location, event.modifiers);
    if (auto pending = std::exchange(state.pendingFocus, std::nullopt)) {
        auto ref = pending->target.lock();
        if (!ref || !ref->element) return;
        detail::setFocus(graph_, ref->element, false);
        for (const auto& entry : hitTest(graph_, graphics::CGPoint{pending->at.x(), pending->at.y()})) {
            if (entry.element == ref->element) pressPaintedEditor(graph_, entry);
        }
    }
}

bool EventDispatcher::scroll(const ScrollEvent& event) {
    modifiersChanged(event.modifiers);
    detail::eventState(graph_).pointer = event.location;
    if (event.delta.width == 0 && event.delta.height == 0) return false;
    for (Element* scrollable : detail::userScrollablesAt(graph_.root(), event.location)) {
        const auto* node = detail::userScrollable(*scrollable);
        if (node->canScrollBy(*scrollable, event.delta)) {
            withTransaction(Transaction(), [&] { node->scrollBy(*scrollable, event.delta); });
            return true;
        }
    }
    return false;
}

namespace {

// The scroll view the page keys move: around the focus, else under the pointer, else the first.
Element* pageKeyTarget(Graph& graph) {
    const auto all = detail::userScrollables(graph.root());
    if (all.empty()) return nullptr;
    for (Element* e = detail::focusedElement(graph); e; e = e->parent()) {
        if (std::find(all.begin(), all.end(), e) != all.end()) return e;
    }
    if (const auto& pointer = detail::eventState(graph).pointer) {
        const auto under = detail::userScrollablesAt(graph.root(), *pointer);
        if (!under.empty()) return under.front();
    }
    return all.front();
}


bool pageKey(Graph& graph, KeyEquivalent key) {
    const bool page = key == KeyEquivalent::pageUp || key == KeyEquivalent::pageDown;
    const bool edge = key == KeyEquivalent::home || key == KeyEquivalent::end;
    if (!page && !edge) return false;
    Element* scrollable = pageKeyTarget(graph);
    if (!scrollable) return false;
    const auto* node = detail::userScrollable(*scrollable);
    return withTransaction(Transaction(), [&] {
        if (edge) return node->scrollToEdge(*scrollable, key == KeyEquivalent::end);
        const CGFloat length = node->pageLength(*scrollable);
        return node->scrollBy(*scrollable, {0, key == KeyEquivalent::pageDown ? length : -length});
    });
}

} // namespace

void EventDispatcher::cancelPointer() {
    detail::eventState(graph_).indicatorDrag.reset();
    detail::eventState(graph_).pendingFocus.reset();
    if (auto arena = std::move(detail::eventState(graph_).arena)) arena->cancel();
    detail::cancelDrag(graph_);
}

void EventDispatcher::pointerExited() {
    auto& state = detail::eventState(graph_);
    std::vector<std::function<void(bool)>> calls;
    for (auto it = state.hovered.rbegin(); it != state.hovered.rend(); ++it) {
        auto ref = it->lock();
        if (ref && ref->element) calls.push_back(ref->element->nodeAs<detail::HoverNode>()->action());
    }
    state.hovered.clear();
    withTransaction(Transaction(), [&] {
        for (const auto& action : calls) {
            if (action) action(false);
        }
    });
}

bool EventDispatcher::keyPress(const KeyPress& press) {
    modifiersChanged(press.modifiers);
    // Escape abandons a drag under way before anything else sees the key.
    if (press.key == KeyEquivalent::escape && press.phase != KeyPress::Phase::up) {
        auto& arena = detail::eventState(graph_).arena;
        if (detail::isDragging(graph_) || (arena && arena->isDragging())) {
            cancelPointer();
            return true;
        }
    }
    bool handled = false;
    withTransaction(Transaction(), [&] {
        for (Element* e = focusedElement(); e && !handled; e = e->parent()) {
            const auto* node = e->nodeAs<detail::KeyPressNode>();
            if (node && node->action() && node->action()(press) == KeyPress::Result::handled) handled = true;
        }
    });
    if (handled) return true;
    if (press.phase != KeyPress::Phase::down) return false;

    const auto held = press.modifiers.intersection(shortcutModifiers);
    if (press.key == KeyEquivalent::tab && (held == EventModifiers::none || held == EventModifiers::shift))
        return moveFocus(held != EventModifiers::shift);

    std::vector<Element*> targets;
    collectShortcutTargets(graph_.root(), targets);
    // A shown presentation is modal: what lies beneath it takes no shortcuts.
    int modalLevel = 0;
    for (auto* element : targets)
        modalLevel = std::max(modalLevel, element->environment().get<ModalLevelKey>());
    for (auto* element : targets) {
        if (element->environment().get<ModalLevelKey>() != modalLevel) continue;
        const auto& shortcut = element->environment().get<KeyboardShortcutKey>();
        if (!shortcut || !enabled(*element)) continue;
        if (folded(shortcut->key.character) != folded(press.key.character) ||
            shortcut->modifiers.intersection(shortcutModifiers) != held)
            continue;
        const auto& action = element->nodeAs<detail::ShortcutTargetNode>()->action();
        if (action) withTransaction(Transaction(), [&] { action(); });
        return true;
    }
    if (held == EventModifiers::none) return pageKey(graph_, press.key);
    return false;
}

Element* EventDispatcher::focusedElement() const {
    return detail::focusedElement(graph_);
}

void EventDispatcher::focus(Element* element) {
    Element* target = element;
    for (Element* e = element; e; e = e->parent()) {
        if (detail::isFocusTarget(*e)) {
            target = e;
            break;
        }
    }
    detail::setFocus(graph_, target, false);
}

bool EventDispatcher::moveFocus(bool forward) {
    std::vector<Element*> targets;
    collectTargets(graph_.root(), targets);
    if (targets.empty()) return false;
    const auto n = targets.size();
    auto it = std::find(targets.begin(), targets.end(), focusedElement());
    std::size_t next = forward ? 0 : n - 1;
    if (it != targets.end()) {
        const auto index = std::size_t(it - targets.begin());
        next = forward ? (index + 1) % n : (index + n - 1) % n;
    }
    detail::setFocus(graph_, targets[next], false);
    return true;
}

} // namespace ui
