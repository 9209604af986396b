#pragma once

#include "ui/ViewContext.h"

#include <concepts>
#include <memory>
#include <string_view>
#include <utility>

namespace Prefs {

// A value a view keeps across evaluations without refreshing anything when it changes: the
// value lives in a box, and the view's state keeps the box, never the value itself.
//
// A storage made with a view value holds that value's own box; installed(ctx, name) gives the
// box the element keeps, which is the box of the view value it was first evaluated with.
template <class Value> class ViewStorage {
public:
    class ValueBox {
    public:
        explicit ValueBox(Value value)
            : value(std::move(value)) {}
        Value value;
    };

    // Calls `wrappedValue` once for the initial value.
    template <std::invocable F>
    explicit ViewStorage(F&& wrappedValue)
        : valueBox_(std::make_shared<ValueBox>(std::forward<F>(wrappedValue)())) {}

    const Value& wrappedValue() const { return valueBox_->value; }
    // Replaces the box's value; copies of this storage see it, and no view re-evaluates.
    void setWrappedValue(Value value) const { valueBox_->value = std::move(value); }

    // The storage as the element of the view evaluating in `ctx` keeps it under `name`.
    ViewStorage installed(ui::ViewContext& ctx, std::string_view name) const {
        return ViewStorage(ctx.state<std::shared_ptr<ValueBox>>(name, valueBox_).value());
    }

private:
    explicit ViewStorage(std::shared_ptr<ValueBox> box)
        : valueBox_(std::move(box)) {}

    std::shared_ptr<ValueBox> valueBox_;
};

} // namespace Prefs
