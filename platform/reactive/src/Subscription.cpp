#include "reactive/Subscription.h"

namespace reactive::Subscriptions {

namespace {

class EmptySubscription final : public Subscription {
public:
    void request(Subscribers::Demand) override {}
    void cancel() override {}
};

} // namespace

std::shared_ptr<Subscription> empty() {
    static const auto subscription = std::make_shared<EmptySubscription>();
    return subscription;
}

} // namespace reactive::Subscriptions
