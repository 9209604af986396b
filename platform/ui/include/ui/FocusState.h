#pragma once

#include "ui/Binding.h"
#include "ui/State.h"

#include <utility>

namespace ui {

// Whether the keyboard focus is in the nearest focusable or focused() view around; hosted
// views read it to take or give up the platform's focus.
struct IsFocusedKey {
    using Value = bool;
    static Value defaultValue() { return false; }
};

// A view's record of where the keyboard focus is, from ViewContext::focusState: false or empty
// while the focus is elsewhere. Views bind to it with View::focused; writing it moves the focus
// at the next update, and the focus moving (Tab, a click, a hosted editor) writes it.
template <class T> class FocusState {
public:
    using Binding = ui::Binding<T>;

    explicit FocusState(State<T> state)
        : state_(std::move(state)) {}

    const T& value() const { return state_.value(); }
    const T& operator*() const { return state_.value(); }
    void set(T value) const { state_.set(std::move(value)); }
    Binding binding() const { return state_.binding(); }

private:
    State<T> state_;
};

} // namespace ui
