#include "Prefs/_PrefsObservation.h"

#include "LifetimeAssociation.h"

#include "foundation/Fatal.h"

#include <utility>

namespace Prefs {

_PrefsObservation::~_PrefsObservation() = default;

std::shared_ptr<_PrefsObservation>
_PrefsObservation::bindToLifetime(const std::shared_ptr<foundation::Object>& owner) {
    // Also keeps this alive while the earlier tie lets go of it.
    auto self = sharedSelf<_PrefsObservation>();
    if (!self) foundation::fatal("Prefs: bindToLifetime on an observation not owned by a std::shared_ptr");
    if (!owner) return self;
    auto association =
        std::make_shared<LifetimeAssociation>(self, owner, [weak = weakSelf<_PrefsObservation>()] {
            if (auto observation = weak.lock()) observation->stopObserving();
        });
    std::shared_ptr<LifetimeAssociation> earlier;
    {
        std::lock_guard guard(mutex_);
        earlier = std::exchange(lifetimeAssociation_, std::move(association));
    }
    // Cancelled rather than just released: its tracker would otherwise stop this observation.
    if (earlier) earlier->cancel();
    return self;
}

void _PrefsObservation::unbindLifetime() {
    cancelLifetimeAssociation();
}

void _PrefsObservation::cancelLifetimeAssociation() {
    // The tie may be all that keeps this alive; it then goes at the end of this call.
    const auto self = sharedSelf<_PrefsObservation>();
    std::shared_ptr<LifetimeAssociation> association;
    {
        std::lock_guard guard(mutex_);
        association = std::move(lifetimeAssociation_);
        lifetimeAssociation_.reset();
    }
    if (association) association->cancel();
}

} // namespace Prefs
