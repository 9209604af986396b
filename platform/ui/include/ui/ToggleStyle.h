#pragma once

#include "ui/AnyStyle.h"
#include "ui/Binding.h"
#include "ui/View.h"

#include <concepts>
#include <memory>

namespace ui {

// What a toggle style draws a toggle from: its label, whether it is on, and the binding a
// style flips.
struct ToggleStyleConfiguration {
    View label;
    bool isOn = false;
    Binding<bool> binding = Binding<bool>::constant(false);

    void setOn(bool on) const { binding.set(on); }
    // Flips what the binding holds now, which a click may find ahead of `isOn`.
    void toggle() const { binding.set(!binding.get()); }
};

// A toggle style: any type that makes a toggle's look, and its clicks, from its configuration.
template <class S>
concept ToggleStyle = std::copy_constructible<S> && requires(const S& style, const ToggleStyleConfiguration& c) {
    { style.makeBody(c) } -> std::convertible_to<View>;
};

class AnyToggleStyle : public detail::AnyStyle<ToggleStyleConfiguration> {
public:
    using AnyStyle::AnyStyle;
};

// The label, then a capsule whose knob slides to the trailing end when on (animated when the
// change is); only the capsule takes clicks.
struct SwitchToggleStyle {
    View makeBody(const ToggleStyleConfiguration& configuration) const;
    bool operator==(const SwitchToggleStyle&) const = default;
};
// A square box with a check mark when on, then the label; label and box both take clicks.
struct CheckboxToggleStyle {
    View makeBody(const ToggleStyleConfiguration& configuration) const;
    bool operator==(const CheckboxToggleStyle&) const = default;
};
// The desktop's usual toggle: a checkbox.
struct DefaultToggleStyle {
    View makeBody(const ToggleStyleConfiguration& configuration) const;
    bool operator==(const DefaultToggleStyle&) const = default;
};
using AutomaticToggleStyle = DefaultToggleStyle;

struct ToggleStyleKey {
    using Value = AnyToggleStyle;
    static Value defaultValue() { return DefaultToggleStyle{}; }
};

} // namespace ui
