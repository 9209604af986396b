#include "ui/Accessibility.h"

#include "ui/Element.h"
#include "ui/View.h"

namespace ui {

namespace {

View recorded(const View& view, AccessibilityProperties properties) {
    return view.apply([&](View content) {
        return View(std::make_shared<AccessibilityNode>(std::move(content), properties));
    });
}

template <class T> void fillIn(std::optional<T>& field, const std::optional<T>& outer) {
    if (!field) field = outer;
}

} // namespace

AccessibilityProperties accessibilityProperties(const Element& element) {
    AccessibilityProperties result;
    AccessibilityTraits traits = AccessibilityTraits::none;
    // Out from the content through the modifiers wrapping it; the first container ends the chain.
    for (const Element* at = &element; at; at = at->parent()) {
        if (const auto* node = at->nodeAs<AccessibilityNode>()) {
            const auto& own = node->properties();
            fillIn(result.label, own.label);
            fillIn(result.value, own.value);
            fillIn(result.hint, own.hint);
            fillIn(result.identifier, own.identifier);
            fillIn(result.hidden, own.hidden);
            fillIn(result.children, own.children);
            traits = own.traits(traits);
        } else if (at != &element && !at->nodeAs<detail::WrapperNode>()) {
            break;
        }
    }
    result.addedTraits = traits;
    return result;
}

View View::accessibilityLabel(Text label) const {
    return recorded(*this, {.label = std::move(label)});
}

View View::accessibilityValue(Text value) const {
    return recorded(*this, {.value = std::move(value)});
}

View View::accessibilityHint(Text hint) const {
    return recorded(*this, {.hint = std::move(hint)});
}

View View::accessibilityIdentifier(std::string identifier) const {
    return recorded(*this, {.identifier = std::move(identifier)});
}

View View::accessibilityHidden(bool hidden) const {
    return recorded(*this, {.hidden = hidden});
}

View View::accessibilityElement(AccessibilityChildBehavior children) const {
    return recorded(*this, {.children = children});
}

View View::accessibilityAddTraits(AccessibilityTraits traits) const {
    return recorded(*this, {.addedTraits = traits});
}

View View::accessibilityRemoveTraits(AccessibilityTraits traits) const {
    return recorded(*this, {.removedTraits = traits});
}

View View::writingToolsBehavior(WritingToolsBehavior behavior) const {
    return environment(WritingToolsBehaviorKey{}, behavior);
}

} // namespace ui
