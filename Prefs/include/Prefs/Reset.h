#pragma once

#include "Prefs/Key.h"

#include "foundation/UserDefaults.h"

#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Removing stored objects, so that keys show their registered defaults again.
namespace Prefs {

// Each key from its own suite, in order.
void reset(const std::vector<std::shared_ptr<_AnyKey>>& keys);
template <std::derived_from<_AnyKey>... K> void reset(const std::shared_ptr<K>&... keys) {
    (keys->reset(), ...);
}

// Typed keys given with a suite are still removed from their own suites; the suite argument
// takes no part, as callers that pass a key's own suite expect.
template <std::derived_from<_AnyKey>... K>
void reset(foundation::UserDefaults& suite, const std::shared_ptr<K>&... keys) {
    (keys->reset(), ...);
}

// Names on the given suite, in order.
void reset(foundation::UserDefaults& suite, const std::vector<std::string>& names);
template <std::convertible_to<std::string_view>... Name>
void reset(foundation::UserDefaults& suite, const Name&... names) {
    (suite.removeObjectForKey(std::string_view(names)), ...);
}

// Removes every key of the suite's dictionaryRepresentation one by one, so that each removal
// notifies its observers.
void removeAll(foundation::UserDefaults& suite);

} // namespace Prefs
