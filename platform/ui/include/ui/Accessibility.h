#pragma once

#include "ui/AccessibilityTraits.h"
#include "ui/Text.h"
#include "ui/ViewNodes.h"

#include <optional>
#include <string>

namespace ui {

class Element;

// What the accessibility modifiers say about a view. Unset fields leave what views further
// out (or the content itself) say.
struct AccessibilityProperties {
    std::optional<Text> label{};
    std::optional<Text> value{};
    std::optional<Text> hint{};
    std::optional<std::string> identifier{};
    std::optional<bool> hidden{};
    // Set when the view is made one element; how its children take part.
    std::optional<AccessibilityChildBehavior> children{};
    AccessibilityTraits addedTraits = AccessibilityTraits::none;
    AccessibilityTraits removedTraits = AccessibilityTraits::none;

    // The traits after `base` had these added and removed.
    AccessibilityTraits traits(AccessibilityTraits base = AccessibilityTraits::none) const {
        return (base | addedTraits) & ~removedTraits;
    }
    bool operator==(const AccessibilityProperties&) const = default;
};

// One accessibility modifier's record.
class AccessibilityNode final : public detail::TransparentWrapperNode {
public:
    AccessibilityNode(View content, AccessibilityProperties properties)
        : TransparentWrapperNode(std::move(content))
        , properties_(std::move(properties)) {}
    std::string_view typeName() const override { return "Accessibility"; }
    const AccessibilityProperties& properties() const { return properties_; }

private:
    AccessibilityProperties properties_;
};

// What the modifiers around `element` (it and its chain of wrapping modifiers) say, the one
// nearest the content winning for each field; traits add up from the inside out.
AccessibilityProperties accessibilityProperties(const Element& element);

} // namespace ui
