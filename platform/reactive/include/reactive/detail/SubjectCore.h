#pragma once

#include "reactive/Completion.h"
#include "reactive/Subscriber.h"
#include "reactive/detail/CopyOnWriteList.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace reactive::detail {

// What subjects share: the list of subscriptions and the completion. Sending walks the current
// list without copying or locking (see CopyOnWriteList) and skips subscriptions that were
// cancelled meanwhile, so a subscriber may cancel itself or any other one during a delivery.
//
// A subscription's subscriber stays alive as long as the subscription does; a sender that is
// still walking an old list therefore never touches a freed subscriber, even when another
// thread cancels at that moment.
template <class Output, class Failure>
class SubjectCore : public std::enable_shared_from_this<SubjectCore<Output, Failure>> {
public:
    static std::shared_ptr<SubjectCore> make() {
        return std::shared_ptr<SubjectCore>(new SubjectCore(), [](SubjectCore* core) {
            if (core->conduits_.markDying()) delete core;
        });
    }

    void send(const Output& value) {
        struct Read {
            SubjectCore* core;
            ~Read() {
                if (core->conduits_.endRead()) delete core;
            }
        } read{this};
        for (const auto& conduit : conduits_.beginRead())
            conduit->deliver(value);
    }

    void send(const Subscribers::Completion<Failure>& completion) {
        typename List::Nodes ended;
        conduits_.edit([&](typename List::Nodes& nodes) {
            if (completion_) return false;
            completion_.emplace(completion);
            ended.swap(nodes);
            return true;
        });
        for (const auto& conduit : ended)
            conduit->complete(completion);
    }

    // `current`, if given, returns the value a new subscriber gets first (an optional). It runs
    // under the lock of withLock() in the same step in which the subscriber joins, so a value
    // stored under that lock is either the one read here or reaches the new subscriber.
    template <class Current = std::nullptr_t>
    void subscribe(const SubscriberPtr<Output, Failure>& subscriber, Current current = nullptr) {
        const auto self = this->shared_from_this(); // the subscriber may drop the subject
        auto conduit = std::make_shared<Conduit>(subscriber, this->weak_from_this());
        subscriber->receiveSubscription(conduit);
        std::optional<Subscribers::Completion<Failure>> completed;
        std::optional<Output> first;
        conduits_.edit([&](typename List::Nodes& nodes) {
            if (completion_) {
                completed = completion_;
                return false;
            }
            if (!conduit->isLive()) return false; // cancelled while receiving its subscription
            if constexpr (!std::is_same_v<Current, std::nullptr_t>) first = current();
            nodes.push_back(conduit);
            return true;
        });
        if (completed) conduit->complete(*completed);
        if (first) conduit->deliver(*first);
    }

    // Runs `f` under the lock that subscribing takes (see subscribe).
    template <class F> decltype(auto) withLock(F&& f) { return conduits_.withLock(std::forward<F>(f)); }

private:
    class Conduit final : public Subscription {
    public:
        Conduit(SubscriberPtr<Output, Failure> downstream, std::weak_ptr<SubjectCore> core)
            : downstream_(std::move(downstream))
            , core_(std::move(core)) {}

        void request(Subscribers::Demand) override {}

        void cancel() override {
            if (!end(State::cancelled)) return;
            if (auto core = std::exchange(core_, {}).lock()) core->remove(this);
        }

        bool isLive() const { return state_.load(std::memory_order_acquire) == State::live; }

        void deliver(const Output& value) const {
            if (isLive()) downstream_->receive(value);
        }

        void complete(const Subscribers::Completion<Failure>& completion) {
            if (!end(State::finished)) return;
            core_.reset();
            downstream_->receiveCompletion(completion);
        }

    private:
        enum class State { live, cancelled, finished };
        // Only the first ending wins; the winner alone touches `core_` afterwards.
        bool end(State to) {
            auto expected = State::live;
            return state_.compare_exchange_strong(expected, to, std::memory_order_acq_rel);
        }

        const SubscriberPtr<Output, Failure> downstream_;
        std::weak_ptr<SubjectCore> core_;
        std::atomic<State> state_{State::live};
    };

    using List = CopyOnWriteList<Conduit>;

    SubjectCore() = default;

    void remove(const Conduit* conduit) {
        conduits_.edit([&](typename List::Nodes& nodes) {
            auto it =
                std::find_if(nodes.begin(), nodes.end(), [&](const auto& n) { return n.get() == conduit; });
            if (it == nodes.end()) return false;
            nodes.erase(it);
            return true;
        });
    }

    List conduits_;
    std::optional<Subscribers::Completion<Failure>> completion_; // guarded by the list's lock
};

} // namespace reactive::detail
