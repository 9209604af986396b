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

    // How the system opens a URL (the desktop's handler for its scheme); whether it did.
    // Replaceable for the whole process, so tests never start a real browser; returns the
    // opener it replaces. An empty opener restores the system's.
    using SystemOpener = std::function<bool(const foundation::URL&)>;
    static SystemOpener setSystemOpener(SystemOpener opener);
    static bool openWithSystem(const foundation::URL& url);

private:
    Handler handler_;
};

} // namespace ui
