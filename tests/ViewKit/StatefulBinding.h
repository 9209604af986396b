// A caller's state for the toolkit's controls under test.
#pragma once

#include "ui/Binding.h"
#include "ui/State.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>

namespace viewkit_testing {

// Keeps a value in its state, as a caller of a control would, mirrored into `mirror` for the
// test to read; `make` builds the control over the state's binding.
template <class T> struct Stateful {
    std::shared_ptr<T> mirror;
    std::function<ui::View(ui::Binding<T>)> make;
    ui::View body(ui::ViewContext& ctx) const {
        auto state = ctx.state<T>("value", *mirror);
        return make(ui::Binding<T>([state] { return *state; },
                                   [state, mirror = mirror](T v) {
                                       *mirror = v;
                                       state.set(std::move(v));
                                   }));
    }
};

} // namespace viewkit_testing
