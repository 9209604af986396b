#pragma once

#include "Prefs/BaseChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsObservationWithLifeTime.h"

#include "foundation/UserDefaults.h"

#include "reactive/Demand.h"
#include "reactive/Publisher.h"
#include "reactive/Subscriber.h"
#include "reactive/Subscription.h"

#include <memory>
#include <mutex>
#include <string>

namespace Prefs {

// The untyped changes of one key in one suite. Each subscriber gets its own subscription and
// observation; it never completes or fails.
class PrefsPublisher : public reactive::PublisherOperators<PrefsPublisher> {
public:
    using Output = BaseChange;
    using Failure = reactive::Never;

    PrefsPublisher(std::shared_ptr<foundation::UserDefaults> suite, std::string key,
                   ObservationOptions options)
        : suite_(std::move(suite))
        , key_(std::move(key))
        , options_(options) {}

    // The subscriber has its subscription before the first value; with `initial` that value
    // arrives before this returns.
    void receive(const reactive::SubscriberPtr<BaseChange, reactive::Never>& subscriber) const;

private:
    std::shared_ptr<foundation::UserDefaults> suite_;
    std::string key_;
    ObservationOptions options_;
};

// One subscriber's link to a key. It observes until cancelled: its observation's callback holds
// it, so nobody else needs to. Demand is not counted; every delivered change is sent.
class PrefsSubscription final : public reactive::Subscription,
                                public std::enable_shared_from_this<PrefsSubscription> {
    struct Private {};

public:
    using SubscriberPtr = reactive::SubscriberPtr<BaseChange, reactive::Never>;

    // Made with an observation that is not registered yet; start() registers it.
    static std::shared_ptr<PrefsSubscription> make(SubscriberPtr subscriber,
                                                   const std::shared_ptr<foundation::UserDefaults>& suite,
                                                   std::string key, ObservationOptions options);
    PrefsSubscription(Private, SubscriberPtr subscriber, ObservationOptions options);

    void request(reactive::Subscribers::Demand) override {}
    // Any thread, any number of times, also from within a value. Once it has returned no
    // delivery starts; one already running on another thread may finish.
    void cancel() override;
    void start();

private:
    void receive(const BaseChange& change);

    std::mutex mutex_;
    SubscriberPtr subscriber_;                                  // guarded by mutex_
    std::shared_ptr<PrefsObservationWithLifeTime> observation_; // guarded by mutex_
    const ObservationOptions options_;
};

} // namespace Prefs
