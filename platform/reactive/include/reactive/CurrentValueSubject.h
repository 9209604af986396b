#pragma once

#include "reactive/Publisher.h"
#include "reactive/detail/SubjectCore.h"

#include <memory>
#include <optional>
#include <utility>

namespace reactive {

template <class T> class Published;

// A subject that holds a value: a new subscriber gets the current value at once, then every
// value sent. Like PassthroughSubject it is a cheap handle, delivers synchronously on the
// sending thread in subscription order, and is safe from any thread. A subscriber joins and
// reads the current value in one step, so it misses no later send. From one thread values
// arrive in order; a send from another thread racing the subscription, or another send, may
// reach the subscriber before the value it overtook.
template <class Output_, class Failure_ = Never>
class CurrentValueSubject : public PublisherOperators<CurrentValueSubject<Output_, Failure_>> {
public:
    using Output = Output_;
    using Failure = Failure_;

    explicit CurrentValueSubject(Output value)
        : state_(std::make_shared<State>(std::move(value))) {}
    CurrentValueSubject(const CurrentValueSubject&) = default;
    CurrentValueSubject& operator=(const CurrentValueSubject&) = default;

    Output value() const {
        return state_->core->withLock([&] { return state_->value; });
    }
    void setValue(Output value) const { send(std::move(value)); }

    // Stores the value, then delivers it. Ignored after completion.
    void send(Output value) const {
        const bool stored = state_->core->withLock([&] {
            if (state_->completed) return false;
            state_->value = value;
            return true;
        });
        if (stored) state_->core->send(value);
    }
    void send(const Subscribers::Completion<Failure>& completion) const {
        state_->core->withLock([&] { state_->completed = true; });
        state_->core->send(completion);
    }

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const {
        state_->core->subscribe(subscriber,
                                [state = state_.get()] { return std::optional<Output>(state->value); });
    }

    bool operator==(const CurrentValueSubject& other) const { return state_ == other.state_; }

private:
    friend class Published<Output>;

    // `value` and `completed` are guarded by the core's lock.
    struct State {
        explicit State(Output v)
            : value(std::move(v)) {}
        Output value;
        bool completed = false;
        const std::shared_ptr<detail::SubjectCore<Output, Failure>> core =
            detail::SubjectCore<Output, Failure>::make();
    };

    // Without the lock: for Published, whose value is written on its owner's thread only.
    const Output& storedValue() const { return state_->value; }

    std::shared_ptr<State> state_;
};

} // namespace reactive
