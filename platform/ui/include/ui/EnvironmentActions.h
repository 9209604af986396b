#pragma once

#include "foundation/URL.h"

#include <functional>
#include <utility>

namespace ui {

// Closes the presentation that encloses the view; does nothing outside one.
class DismissAction {
public:
    DismissAction() = default;
    explicit DismissAction(std::function<void()> action)
        : action_(std::move(action)) {}
    void operator()() const {
        if (action_) action_();
    }
    // Two actions are the same only when neither does anything.
    bool operator==(const DismissAction& other) const { return !action_ && !other.action_; }

private:
    std::function<void()> action_;
};

// Opens a URL: the host's handler, or the system's when none is installed.
class OpenURLAction {
public:
    enum class Result { handled, discarded, systemAction };
    using Handler = std::function<Result(const foundation::URL&)>;

    OpenURLAction() = default;
    explicit OpenURLAction(Handler handler)
        : handler_(std::move(handler)) {}

    Result operator()(const foundation::URL& url) const;
    bool operator==(const OpenURLAction& other) const { return !handler_ && !other.handler_; }

private:
    Handler handler_;
};

} // namespace ui
