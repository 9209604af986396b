#pragma once

#include "ui/AnyStyle.h"
#include "ui/ButtonRole.h"
#include "ui/EnvironmentKeys.h"
#include "ui/View.h"

#include <concepts>
#include <memory>
#include <optional>

namespace ui {

// What a button style draws a button from.
struct ButtonStyleConfiguration {
    View label;
    std::optional<ButtonRole> role;
    // True while the pointer is down inside the button.
    bool isPressed = false;
};

// A button style: any type that makes a button's look from its configuration. The button
// itself keeps the clicks, the shortcut and the disabled state; the style only draws.
template <class S>
concept ButtonStyle = std::copy_constructible<S> && requires(const S& style, const ButtonStyleConfiguration& c) {
    { style.makeBody(c) } -> std::convertible_to<View>;
};

// A button style of any type, as the environment holds it.
class AnyButtonStyle : public detail::AnyStyle<ButtonStyleConfiguration> {
public:
    using AnyStyle::AnyStyle;
};

// A rounded, bordered bezel behind the label, sized by the control size; the accent colour
// fills it for BorderedProminentButtonStyle. Destructive buttons draw their label in red.
struct BorderedButtonStyle {
    View makeBody(const ButtonStyleConfiguration& configuration) const;
    bool operator==(const BorderedButtonStyle&) const = default;
};
struct BorderedProminentButtonStyle {
    View makeBody(const ButtonStyleConfiguration& configuration) const;
    bool operator==(const BorderedProminentButtonStyle&) const = default;
};
// No bezel: the label in the tint colour, dimmed while pressed.
struct BorderlessButtonStyle {
    View makeBody(const ButtonStyleConfiguration& configuration) const;
    bool operator==(const BorderlessButtonStyle&) const = default;
};
// The label as it is, dimmed while pressed.
struct PlainButtonStyle {
    View makeBody(const ButtonStyleConfiguration& configuration) const;
    bool operator==(const PlainButtonStyle&) const = default;
};
// The platform's look for a button where it stands: bordered.
struct DefaultButtonStyle {
    View makeBody(const ButtonStyleConfiguration& configuration) const;
    bool operator==(const DefaultButtonStyle&) const = default;
};
using AutomaticButtonStyle = DefaultButtonStyle;

struct ButtonStyleKey {
    using Value = AnyButtonStyle;
    static Value defaultValue() { return DefaultButtonStyle{}; }
};

} // namespace ui
