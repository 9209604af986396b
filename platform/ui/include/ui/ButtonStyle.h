#pragma once

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
class AnyButtonStyle {
public:
    template <ButtonStyle S>
        requires(!std::same_as<S, AnyButtonStyle>)
    AnyButtonStyle(S style)
        : box_(std::make_shared<Box<S>>(std::move(style))) {}

    View makeBody(const ButtonStyleConfiguration& configuration) const { return box_->makeBody(configuration); }
    // Styles compare by the value they hold, when its type has ==.
    bool operator==(const AnyButtonStyle& other) const { return box_ == other.box_ || box_->equals(*other.box_); }

private:
    struct Base {
        virtual ~Base() = default;
        virtual View makeBody(const ButtonStyleConfiguration&) const = 0;
        virtual bool equals(const Base&) const = 0;
    };
    template <class S> struct Box final : Base {
        explicit Box(S s)
            : style(std::move(s)) {}
        View makeBody(const ButtonStyleConfiguration& c) const override { return style.makeBody(c); }
        bool equals(const Base& other) const override {
            if constexpr (std::equality_comparable<S>) {
                const auto* same = dynamic_cast<const Box*>(&other);
                return same && same->style == style;
            } else {
                return false;
            }
        }
        S style;
    };
    std::shared_ptr<const Base> box_;
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
