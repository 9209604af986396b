#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/Void.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {

template <class Output, class Failure> class SourceSubscription final : public Subscription {
public:
    explicit SourceSubscription(SubscriberPtr<Output, Failure> downstream)
        : downstream_(std::move(downstream)) {}

    void request(Subscribers::Demand) override {}
    void cancel() override {
        if (end(State::cancelled)) stop();
    }

    bool isLive() const { return state_.load(std::memory_order_acquire) == State::live; }
    void send(const Output& value) const {
        if (isLive()) downstream_->receive(value);
    }
    void send(const Subscribers::Completion<Failure>& completion) {
        if (!end(State::finished)) return;
        downstream_->receiveCompletion(completion);
        stop();
    }

    // Keeps what ends the source; runs it at once if the subscription ended meanwhile.
    void started(AnyCancellable stopSource) {
        {
            std::lock_guard lock(mutex_);
            if (isLive()) {
                stopSource_ = std::move(stopSource);
                return;
            }
        }
        stopSource.cancel();
    }

private:
    enum class State { live, cancelled, finished };
    bool end(State to) {
        auto expected = State::live;
        return state_.compare_exchange_strong(expected, to, std::memory_order_acq_rel);
    }
    void stop() {
        AnyCancellable stopSource;
        {
            std::lock_guard lock(mutex_);
            stopSource = std::move(stopSource_);
            stopSource_ = AnyCancellable();
        }
        stopSource.cancel();
    }

    const SubscriberPtr<Output, Failure> downstream_;
    std::atomic<State> state_{State::live};
    std::mutex mutex_;
    AnyCancellable stopSource_;
};

} // namespace detail

// What a source started by makePublisher sends through: values, then at most one completion.
// Safe to use from any thread; after the subscription ended it sends nothing. It keeps the
// subscription, and so the subscriber, alive: the source owns its live subscriptions.
template <class Output, class Failure = Never> class Emitter {
public:
    explicit Emitter(std::shared_ptr<detail::SourceSubscription<Output, Failure>> subscription)
        : subscription_(std::move(subscription)) {}

    void send(const Output& value) const { subscription_->send(value); }
    void send() const {
        static_assert(std::is_same_v<Output, Void>, "send() without a value is for emitters of Void");
        subscription_->send(Void{});
    }
    void send(const Subscribers::Completion<Failure>& completion) const { subscription_->send(completion); }
    bool isCancelled() const { return !subscription_->isLive(); }

private:
    std::shared_ptr<detail::SourceSubscription<Output, Failure>> subscription_;
};

// A publisher over a source of events, such as an observer registration. For each subscriber,
// `start(emitter)` begins observing and returns what stops it; that runs when the subscriber
// cancels or after the emitter sent a completion. The subscriber has its subscription before
// start runs, so a value sent from within start arrives, and it may cancel from there.
//
//     auto changes = reactive::makePublisher<Change>([center](reactive::Emitter<Change> emit) {
//         auto token = center->addObserver([emit](const Change& c) { emit.send(c); });
//         return reactive::AnyCancellable([center, token] { center->removeObserver(token); });
//     });
template <class Output, class Failure = Never, class Start>
AnyPublisher<Output, Failure> makePublisher(Start start) {
    return AnyPublisher<Output, Failure>(
        [start = std::move(start)](const SubscriberPtr<Output, Failure>& subscriber) {
            auto subscription = std::make_shared<detail::SourceSubscription<Output, Failure>>(subscriber);
            subscriber->receiveSubscription(subscription);
            if (!subscription->isLive()) return;
            subscription->started(start(Emitter<Output, Failure>(subscription)));
        });
}

} // namespace reactive
