#pragma once

#include "Prefs/CompositePrefsObservation.h"
#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsObservation.h"
#include "Prefs/PrefsObservationWithLifeTime.h"
#include "Prefs/WithoutPropagation.h"
#include "Prefs/_PrefsObservation.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

// Observing keys. Handlers run on the thread that wrote the value. The caller owns what observe
// returns: dropping it stops observing, unless it is tied to an owner with bindToLifetime().
namespace Prefs {

// Calls `handler` with each change of the key, typed, with the key's default (read anew each
// time) standing in for a missing or unconvertible value. With `initial`, it runs once before
// this returns.
template <class Value>
[[nodiscard]] std::shared_ptr<_PrefsObservation>
observe(const std::shared_ptr<Key<Value>>& key, ObservationOptions options,
        std::type_identity_t<std::function<void(const KeyChange<Value>&)>> handler) {
    auto observation = std::make_shared<PrefsObservation>(
        key->suite(), key->name(),
        [key, handler = std::move(handler)](const SuiteKeyPair&, const BaseChange& change) {
            handler(KeyChange<Value>(change, key->defaultValue()));
        });
    auto result = std::make_shared<PrefsObservationWithLifeTime>(observation);
    observation->beginObserving(options);
    return result;
}

// Calls `handler` at each change of any of the keys, without saying which. With `initial`, it
// runs once per key before this returns. Keys may be given as a braced list: observe({a, b}, ...).
[[nodiscard]] std::shared_ptr<_PrefsObservation> observe(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                         ObservationOptions options,
                                                         std::function<void()> handler);

} // namespace Prefs
