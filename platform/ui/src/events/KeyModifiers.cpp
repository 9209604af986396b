#include "EventNodes.h"

#include "ui/EventTargets.h"

namespace ui {

void detail::ModifierKeysNode::visibilityChanged(Element& element, bool visible) const {
    if (!visible || !initial_ || !action_) return;
    // Run after the update, with the keys held by then.
    element.graph().enqueueAction([ref = element.reference(), action = action_, mask = mask_] {
        auto alive = ref.lock();
        if (!alive || !alive->element) return;
        const auto held = eventState(alive->element->graph()).modifiers.intersection(mask);
        action(held, held);
    });
}

View View::onKeyPress(std::function<KeyPress::Result(const KeyPress&)> action) const {
    // Presses and repeats; releases pass by.
    auto filtered = [action = std::move(action)](const KeyPress& press) {
        if (!action || press.phase == KeyPress::Phase::up) return KeyPress::Result::ignored;
        return action(press);
    };
    return apply([filtered](View content) {
        return View(std::make_shared<detail::KeyPressNode>(std::move(content), filtered));
    });
}

View View::onKeyPress(KeyEquivalent key, std::function<KeyPress::Result()> action) const {
    return onKeyPress([key, action = std::move(action)](const KeyPress& press) {
        if (press.key != key || press.phase == KeyPress::Phase::up) return KeyPress::Result::ignored;
        return action();
    });
}

View View::keyboardShortcut(KeyEquivalent key, EventModifiers modifiers) const {
    return keyboardShortcut(KeyboardShortcut{key, modifiers});
}

View View::keyboardShortcut(std::optional<KeyboardShortcut> shortcut) const {
    return environment(KeyboardShortcutKey{}, shortcut);
}

View View::onModifierKeysChanged(EventModifiers mask, bool initial,
                                 std::function<void(EventModifiers, EventModifiers)> action) const {
    return apply([=](View content) {
        return View(std::make_shared<detail::ModifierKeysNode>(std::move(content), mask, initial, action));
    });
}

View keyboardShortcutTarget(View content, std::function<void()> action) {
    return View(std::make_shared<detail::ShortcutTargetNode>(std::move(content), std::move(action)));
}

} // namespace ui
