#pragma once

#include "reactive/Publisher.h"
#include "reactive/Void.h"
#include "reactive/detail/SubjectCore.h"

#include <memory>
#include <type_traits>

namespace reactive {

// A subject that passes each value it is sent to its current subscribers, synchronously on the
// sending thread, in the order they subscribed. It keeps no value: a later subscriber sees only
// later values. After send(completion) it sends nothing more, and a new subscriber gets the
// completion at once.
//
// A cheap handle: copies refer to the same subject. Sending, subscribing and cancelling are
// safe from any thread and from within a delivery. A subscription cancelled on some thread
// gets nothing from any send that starts after cancel() returned there; a send already under
// way on another thread may still deliver the value it is delivering. Sends from several
// threads at once reach the subscribers from those threads at once.
template <class Output_, class Failure_ = Never>
class PassthroughSubject : public PublisherOperators<PassthroughSubject<Output_, Failure_>> {
public:
    using Output = Output_;
    using Failure = Failure_;

    PassthroughSubject()
        : core_(Core::make()) {}
    // Copying shares the subject; there is deliberately no moved-from empty state.
    PassthroughSubject(const PassthroughSubject&) = default;
    PassthroughSubject& operator=(const PassthroughSubject&) = default;

    void send(const Output& value) const { core_->send(value); }
    // For a subject of Void: signals without a value.
    void send() const {
        static_assert(std::is_same_v<Output, Void>, "send() without a value is for subjects of Void");
        core_->send(Void{});
    }
    void send(const Subscribers::Completion<Failure>& completion) const { core_->send(completion); }

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const { core_->subscribe(subscriber); }

    bool operator==(const PassthroughSubject& other) const { return core_ == other.core_; }

private:
    using Core = detail::SubjectCore<Output, Failure>;
    std::shared_ptr<Core> core_;
};

} // namespace reactive
