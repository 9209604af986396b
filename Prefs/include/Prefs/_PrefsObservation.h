#pragma once

#include "foundation/Object.h"

#include <memory>
#include <mutex>

namespace Prefs {

class LifetimeAssociation;

// What every observation handed to callers offers. Held by std::shared_ptr; dropping the last
// reference stops observing, unless the observation is tied to an owner's lifetime.
class _PrefsObservation : public foundation::Object {
public:
    ~_PrefsObservation() override;

    // Calling it again does nothing more.
    virtual void stopObserving() = 0;

    // Keeps the observation alive and observing until `owner` (held weakly) is destroyed, then
    // stops it; the caller may drop its own reference. A second tie replaces the first and the
    // observation goes on observing. Returns this observation.
    std::shared_ptr<_PrefsObservation> bindToLifetime(const std::shared_ptr<foundation::Object>& owner);
    // Undoes the tie; the observation goes on observing while someone holds it.
    void unbindLifetime();

protected:
    _PrefsObservation() = default;
    // The last step of stopObserving().
    void cancelLifetimeAssociation();

private:
    std::mutex mutex_;
    std::shared_ptr<LifetimeAssociation> lifetimeAssociation_; // guarded by mutex_
};

} // namespace Prefs
