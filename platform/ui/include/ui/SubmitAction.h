#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace ui {

// What a text field runs when the user submits it (Return): every onSubmit action around it,
// the innermost first.
class SubmitAction {
public:
    SubmitAction() = default;

    SubmitAction adding(std::function<void()> action) const {
        SubmitAction more = *this;
        if (action) more.actions_.push_back(std::move(action));
        return more;
    }
    void operator()() const {
        // Copied, as an action may rebuild the views that hold this one.
        const auto actions = actions_;
        for (auto it = actions.rbegin(); it != actions.rend(); ++it)
            (*it)();
    }
    bool isEmpty() const { return actions_.empty(); }
    // Two are the same only when neither does anything.
    bool operator==(const SubmitAction& other) const { return isEmpty() && other.isEmpty(); }

private:
    std::vector<std::function<void()>> actions_; // outermost first
};

struct SubmitActionKey {
    using Value = SubmitAction;
    static Value defaultValue() { return {}; }
};

} // namespace ui
