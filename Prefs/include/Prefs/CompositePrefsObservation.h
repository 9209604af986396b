#pragma once

#include "Prefs/Key.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsObservation.h"
#include "Prefs/_PrefsObservation.h"

#include <memory>
#include <mutex>
#include <vector>

namespace Prefs {

// One observation of several keys with one callback, which learns the key that fired. Members
// can be added and removed while it observes. Its destruction stops observing.
class CompositePrefsObservation final : public _PrefsObservation {
public:
    explicit CompositePrefsObservation(PrefsObservation::Callback callback);
    // Members for `keys`, in order, not registered yet: see beginObserving().
    CompositePrefsObservation(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                              PrefsObservation::Callback callback);
    ~CompositePrefsObservation() override;

    // Adds a member for the key and registers it at once, without initial or prior notifications.
    // Members that stopped for good (or whose suite is gone) are dropped meanwhile.
    void addKey(const _AnyKey& key);
    // Unregisters and removes every member of the key's name on the key's suite.
    void removeKey(const _AnyKey& key);
    // Registers each member not yet observing.
    void beginObserving(ObservationOptions options = {});
    // Unregisters every member (they stay members), then undoes a lifetime tie.
    void stopObserving() override;

    std::vector<std::shared_ptr<PrefsObservation>> observations() const;

private:
    std::shared_ptr<PrefsObservation> makeMember(const _AnyKey& key) const;

    const PrefsObservation::Callback callback_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<PrefsObservation>> observations_; // guarded by mutex_
};

} // namespace Prefs
