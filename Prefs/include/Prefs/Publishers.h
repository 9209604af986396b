#pragma once

#include "Prefs/BaseChange.h"
#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsPublisher.h"

#include "reactive/AnyPublisher.h"
#include "reactive/Void.h"

#include <memory>
#include <vector>

// Changes of keys as publishers. Values are sent on the thread that wrote the preference (the
// initial value on the subscribing thread); nothing completes or fails.
namespace Prefs {

// The typed changes of one key, with the key's default (read anew each time) for a missing or
// unconvertible value.
template <class Value>
reactive::AnyPublisher<KeyChange<Value>> publisher(const std::shared_ptr<Key<Value>>& key,
                                                   ObservationOptions options = {}) {
    return PrefsPublisher(key->suite(), key->name(), options)
        .map([key](const BaseChange& change) { return KeyChange<Value>(change, key->defaultValue()); })
        .eraseToAnyPublisher();
}

// One empty value for each change of any of the keys (with `initial`, one per key at
// subscription). With no keys it never sends.
reactive::AnyPublisher<reactive::Void> publisher(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                 ObservationOptions options = {});

} // namespace Prefs
