#include "Prefs/PrefsPublisher.h"

#include <utility>

namespace Prefs {

void PrefsPublisher::receive(const reactive::SubscriberPtr<BaseChange, reactive::Never>& subscriber) const {
    const auto subscription = PrefsSubscription::make(subscriber, suite_, key_, options_);
    subscriber->receiveSubscription(subscription);
    subscription->start();
}

std::shared_ptr<PrefsSubscription>
PrefsSubscription::make(SubscriberPtr subscriber, const std::shared_ptr<foundation::UserDefaults>& suite,
                        std::string key, ObservationOptions options) {
    auto subscription = std::make_shared<PrefsSubscription>(Private{}, std::move(subscriber), options);
    auto observation = std::make_shared<PrefsObservation>(
        suite, std::move(key),
        [subscription](const SuiteKeyPair&, const BaseChange& change) { subscription->receive(change); });
    subscription->observation_ = std::make_shared<PrefsObservationWithLifeTime>(std::move(observation));
    return subscription;
}

PrefsSubscription::PrefsSubscription(Private, SubscriberPtr subscriber, ObservationOptions options)
    : subscriber_(std::move(subscriber))
    , options_(options) {}

void PrefsSubscription::start() {
    // Held here, so a subscriber that cancels within the initial value releases the observation
    // only after its registration has finished.
    std::shared_ptr<PrefsObservationWithLifeTime> observation;
    {
        std::lock_guard guard(mutex_);
        observation = observation_;
    }
    if (observation) observation->observation()->beginObserving(options_);
}

void PrefsSubscription::receive(const BaseChange& change) {
    SubscriberPtr subscriber;
    {
        std::lock_guard guard(mutex_);
        subscriber = subscriber_;
    }
    if (subscriber) subscriber->receive(change);
}

void PrefsSubscription::cancel() {
    const auto self = shared_from_this();
    std::shared_ptr<PrefsObservationWithLifeTime> observation;
    SubscriberPtr subscriber;
    {
        std::lock_guard guard(mutex_);
        observation = std::move(observation_);
        subscriber = std::move(subscriber_);
        observation_.reset();
        subscriber_.reset();
    }
    // Released outside the lock: releasing the observation unregisters it.
    observation.reset();
    subscriber.reset();
}

} // namespace Prefs
