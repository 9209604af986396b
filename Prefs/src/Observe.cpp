#include "Prefs/Observe.h"

namespace Prefs {

std::shared_ptr<_PrefsObservation> observe(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                           ObservationOptions options, std::function<void()> handler) {
    auto composite = std::make_shared<CompositePrefsObservation>(
        keys, [handler = std::move(handler)](const SuiteKeyPair&, const BaseChange&) { handler(); });
    composite->beginObserving(options);
    return composite;
}

} // namespace Prefs
