#pragma once

#include "Prefs/PrefsObservation.h"
#include "Prefs/_PrefsObservation.h"

#include <memory>

namespace Prefs {

// The observation of one key that observe() returns; a publisher's subscription holds one too.
// Its destruction stops observing.
class PrefsObservationWithLifeTime final : public _PrefsObservation {
public:
    explicit PrefsObservationWithLifeTime(std::shared_ptr<PrefsObservation> observation);
    ~PrefsObservationWithLifeTime() override;

    void stopObserving() override;
    const std::shared_ptr<PrefsObservation>& observation() const { return observation_; }

private:
    const std::shared_ptr<PrefsObservation> observation_;
};

} // namespace Prefs
