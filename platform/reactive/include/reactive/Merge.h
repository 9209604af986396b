#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

namespace reactive {

namespace detail {

// The downstream's subscription to a merge: it holds the upstream subscriptions and counts the
// upstreams that have finished.
template <class Output, class Failure> class MergeState final : public Subscription {
public:
    MergeState(SubscriberPtr<Output, Failure> downstream, std::size_t count)
        : downstream_(std::move(downstream))
        , upstreams_(count)
        , remaining_(count) {}

    void request(Subscribers::Demand) override {}

    void cancel() override {
        std::vector<std::shared_ptr<Subscription>> upstreams;
        if (!end(upstreams)) return;
        for (auto& upstream : upstreams)
            if (upstream) upstream->cancel();
    }

    bool isDone() const { return done_.load(std::memory_order_acquire); }

    void receiveSubscription(std::size_t index, std::shared_ptr<Subscription> subscription) {
        {
            std::lock_guard lock(mutex_);
            if (!done_.load(std::memory_order_relaxed)) {
                upstreams_[index] = std::move(subscription);
                return;
            }
        }
        subscription->cancel();
    }

    void receive(const Output& value) {
        if (!isDone()) downstream_->receive(value);
    }

    void receiveCompletion(std::size_t index, const Subscribers::Completion<Failure>& completion) {
        if (completion.isFailure()) {
            std::vector<std::shared_ptr<Subscription>> upstreams;
            if (!end(upstreams)) return;
            for (auto& upstream : upstreams)
                if (upstream) upstream->cancel(); // the failed one ignores it
            downstream_->receiveCompletion(completion);
            return;
        }
        std::vector<std::shared_ptr<Subscription>> released; // let go outside the lock
        {
            std::lock_guard lock(mutex_);
            if (done_.load(std::memory_order_relaxed)) return;
            released.push_back(std::move(upstreams_[index]));
            if (--remaining_ > 0) return;
            done_.store(true, std::memory_order_release);
            for (auto& upstream : upstreams_)
                released.push_back(std::move(upstream));
            upstreams_.clear();
        }
        downstream_->receiveCompletion(completion);
    }

private:
    // Marks the merge done and hands over the upstream subscriptions; false if it was done.
    bool end(std::vector<std::shared_ptr<Subscription>>& upstreams) {
        std::lock_guard lock(mutex_);
        if (done_.exchange(true)) return false;
        upstreams.swap(upstreams_);
        return true;
    }

    const SubscriberPtr<Output, Failure> downstream_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Subscription>> upstreams_;
    std::size_t remaining_;
    std::atomic<bool> done_{false};
};

template <class Output, class Failure> class MergeInput final : public Subscriber<Output, Failure> {
public:
    MergeInput(std::shared_ptr<MergeState<Output, Failure>> state, std::size_t index)
        : state_(std::move(state))
        , index_(index) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        state_->receiveSubscription(index_, std::move(subscription));
    }
    Subscribers::Demand receive(const Output& value) override {
        state_->receive(value);
        return Subscribers::Demand::none();
    }
    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        state_->receiveCompletion(index_, completion);
    }

private:
    const std::shared_ptr<MergeState<Output, Failure>> state_;
    const std::size_t index_;
};

} // namespace detail

template <class Derived>
template <class... Others>
auto PublisherOperators<Derived>::merge(Others... others) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    static_assert(sizeof...(Others) > 0, "merge needs at least one other publisher");
    static_assert((std::is_same_v<typename Others::Output, Output> && ...),
                  "merged publishers differ in output");
    static_assert((std::is_same_v<typename Others::Failure, Failure> && ...),
                  "merged publishers differ in failure");
    std::vector<AnyPublisher<Output, Failure>> upstreams{self().eraseToAnyPublisher(),
                                                         AnyPublisher<Output, Failure>(std::move(others))...};
    return AnyPublisher<Output, Failure>(
        [upstreams = std::move(upstreams)](const SubscriberPtr<Output, Failure>& downstream) {
            auto state = std::make_shared<detail::MergeState<Output, Failure>>(downstream, upstreams.size());
            downstream->receiveSubscription(state);
            for (std::size_t i = 0; i < upstreams.size() && !state->isDone(); ++i)
                upstreams[i].receive(std::make_shared<detail::MergeInput<Output, Failure>>(state, i));
        });
}

} // namespace reactive
