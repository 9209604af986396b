#include "Prefs/PrefsObservationWithLifeTime.h"

#include <utility>

namespace Prefs {

PrefsObservationWithLifeTime::PrefsObservationWithLifeTime(std::shared_ptr<PrefsObservation> observation)
    : observation_(std::move(observation)) {}

PrefsObservationWithLifeTime::~PrefsObservationWithLifeTime() {
    stopObserving();
}

void PrefsObservationWithLifeTime::stopObserving() {
    observation_->stopObserving();
    cancelLifetimeAssociation();
}

} // namespace Prefs
