#pragma once

namespace reactive {

// Something that can be stopped: a subscription, a timer connection, an observation.
// cancel() may be called more than once and from any thread; only the first call acts.
class Cancellable {
public:
    virtual ~Cancellable() = default;
    virtual void cancel() = 0;
};

} // namespace reactive
