#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

namespace reactive {

namespace Subscribers {

// A subscriber that calls closures. It asks for unlimited values and holds its subscription
// until cancelled or completed; the subscription in turn holds the sink. The cancellable that
// sink() returns refers to it weakly, so once the subscription has ended the closures are
// released even while someone still keeps the cancellable.
template <class Input, class Failure, class ReceiveCompletion, class ReceiveValue>
class Sink final : public Subscriber<Input, Failure>, public Cancellable {
public:
    Sink(ReceiveCompletion receiveCompletion, ReceiveValue receiveValue)
        : receiveCompletion_(std::move(receiveCompletion))
        , receiveValue_(std::move(receiveValue)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        bool accepted = false;
        {
            std::lock_guard lock(mutex_);
            if (!done_.load(std::memory_order_relaxed) && !subscription_) {
                subscription_ = subscription;
                accepted = true;
            }
        }
        if (!accepted) { // cancelled already, or a second subscription
            subscription->cancel();
            return;
        }
        subscription->request(Demand::unlimited());
    }

    Demand receive(const Input& input) override {
        if (!done_.load(std::memory_order_acquire)) detail::invokeWithValue(receiveValue_, input);
        return Demand::none();
    }

    void receiveCompletion(const Completion<Failure>& completion) override {
        if (done_.exchange(true)) return;
        auto ended = releaseSubscription(); // released after the closure ran
        receiveCompletion_(completion);
    }

    void cancel() override {
        if (done_.exchange(true)) return;
        if (auto subscription = releaseSubscription()) subscription->cancel();
    }

private:
    std::shared_ptr<Subscription> releaseSubscription() {
        std::lock_guard lock(mutex_);
        return std::exchange(subscription_, nullptr);
    }

    ReceiveCompletion receiveCompletion_;
    ReceiveValue receiveValue_;
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::shared_ptr<Subscription> subscription_;
};

} // namespace Subscribers

namespace detail {

struct IgnoreCompletion {
    template <class C> void operator()(const C&) const {}
};

template <class Output, class Failure, class ReceiveCompletion, class ReceiveValue, class Upstream>
AnyCancellable sinkOn(const Upstream& upstream, ReceiveCompletion receiveCompletion,
                      ReceiveValue receiveValue) {
    using Node = Subscribers::Sink<Output, Failure, ReceiveCompletion, ReceiveValue>;
    auto sink = std::make_shared<Node>(std::move(receiveCompletion), std::move(receiveValue));
    AnyCancellable cancellable([weak = std::weak_ptr<Node>(sink)] {
        if (auto s = weak.lock()) s->cancel();
    });
    upstream.receive(sink);
    return cancellable;
}

} // namespace detail

template <class Derived>
template <class ReceiveValue>
AnyCancellable PublisherOperators<Derived>::sink(ReceiveValue receiveValue) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    static_assert(std::is_same_v<Failure, Never>,
                  "a publisher that can fail needs sink(receiveCompletion, receiveValue)");
    return detail::sinkOn<Output, Failure>(self(), detail::IgnoreCompletion(), std::move(receiveValue));
}

template <class Derived>
template <class ReceiveCompletion, class ReceiveValue>
AnyCancellable PublisherOperators<Derived>::sink(ReceiveCompletion receiveCompletion,
                                                 ReceiveValue receiveValue) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    return detail::sinkOn<Output, Failure>(self(), std::move(receiveCompletion), std::move(receiveValue));
}

} // namespace reactive
