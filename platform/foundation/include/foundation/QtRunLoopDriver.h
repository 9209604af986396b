#pragma once

#include "foundation/RunLoop.h"

#include <memory>

namespace foundation {

// Runs the main run loop inside Qt's event loop: while installed, work posted to the main
// queue and due timers run from Qt events on the main thread. Create it on the main thread
// after the Qt application object; it uninstalls itself when destroyed.
class QtRunLoopDriver final : public RunLoopDriver {
public:
    QtRunLoopDriver();
    ~QtRunLoopDriver() override;
    QtRunLoopDriver(const QtRunLoopDriver&) = delete;
    QtRunLoopDriver& operator=(const QtRunLoopDriver&) = delete;

    void wake(std::optional<double> nextDeadline) override;

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace foundation
