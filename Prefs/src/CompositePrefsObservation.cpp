#include "Prefs/CompositePrefsObservation.h"

#include <algorithm>
#include <utility>

namespace Prefs {

CompositePrefsObservation::CompositePrefsObservation(PrefsObservation::Callback callback)
    : callback_(std::move(callback)) {}

CompositePrefsObservation::CompositePrefsObservation(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                     PrefsObservation::Callback callback)
    : callback_(std::move(callback)) {
    for (const auto& key : keys)
        observations_.push_back(makeMember(*key));
}

CompositePrefsObservation::~CompositePrefsObservation() {
    stopObserving();
}

std::shared_ptr<PrefsObservation> CompositePrefsObservation::makeMember(const _AnyKey& key) const {
    return std::make_shared<PrefsObservation>(key.suite(), key.name(), callback_);
}

void CompositePrefsObservation::addKey(const _AnyKey& key) {
    auto member = makeMember(key);
    std::vector<std::shared_ptr<PrefsObservation>> dropped;
    {
        std::lock_guard guard(mutex_);
        // A stopped member has let go of its suite and can never observe again; without this,
        // stopping and adding again would grow the members without bound.
        for (auto& old : observations_)
            if (!old->suite()) dropped.push_back(std::move(old));
        std::erase(observations_, nullptr);
        observations_.push_back(member);
    }
    member->beginObserving();
}

void CompositePrefsObservation::removeKey(const _AnyKey& key) {
    std::vector<std::shared_ptr<PrefsObservation>> removed;
    {
        std::lock_guard guard(mutex_);
        const auto leaves = [&key](const std::shared_ptr<PrefsObservation>& member) {
            if (member->name() != key.name()) return false;
            const auto suite = member->suiteKeyPair().suite();
            return suite && suite->isEqual(*key.suite());
        };
        for (const auto& member : observations_)
            if (leaves(member)) removed.push_back(member);
        std::erase_if(observations_, leaves);
    }
    for (const auto& member : removed)
        member->stopObserving();
}

void CompositePrefsObservation::beginObserving(ObservationOptions options) {
    // A callback may change the members meanwhile.
    for (const auto& member : observations())
        if (!member->isObserving()) member->beginObserving(options);
}

void CompositePrefsObservation::stopObserving() {
    for (const auto& member : observations())
        member->stopObserving();
    cancelLifetimeAssociation();
}

std::vector<std::shared_ptr<PrefsObservation>> CompositePrefsObservation::observations() const {
    std::lock_guard guard(mutex_);
    return observations_;
}

} // namespace Prefs
