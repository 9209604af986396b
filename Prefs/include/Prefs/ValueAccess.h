#pragma once

#include "Prefs/Key.h"
#include "Prefs/Serializable.h"
#include "Prefs/SerializableTraits.h"

#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

// Reading and writing through keys. The forms with a suite first use the given suite and only
// the key's name and default (the key's own suite is not consulted); the others use the key's
// own suite.
//
// Writing an empty value (an empty optional, an empty AnySerializable) removes the stored
// object. Writing a value whose bridge yields nothing changes nothing: the object already
// stored is kept rather than removed, so a value that failed to encode loses no data. The
// bridge's own diagnostic is the only report.
namespace Prefs {

template <class Value> Value get(foundation::UserDefaults& suite, const Key<Value>& key) {
    return detail::read(suite, key);
}

template <class Value>
void set(foundation::UserDefaults& suite, const Key<Value>& key, const std::type_identity_t<Value>& value) {
    if constexpr (_PrefsOptionalProtocol<Value>) {
        if (_defaults_isNil(value)) {
            suite.removeObjectForKey(key.name());
            return;
        }
    }
    foundation::PropertyList object = toSerializable(value);
    if (object.isAbsent()) return;
    suite.setObject(object, key.name());
}

// Reads, lets `change` edit the value, and writes it back; nothing is written when `change`
// throws.
template <class Value, std::invocable<Value&> Change>
void modify(foundation::UserDefaults& suite, const Key<Value>& key, Change&& change) {
    Value value = get(suite, key);
    std::invoke(std::forward<Change>(change), value);
    set(suite, key, value);
}

template <class Value> Value get(const Key<Value>& key) {
    return get(*key.suite(), key);
}
template <class Value> void set(const Key<Value>& key, const std::type_identity_t<Value>& value) {
    set(*key.suite(), key, value);
}
template <class Value, std::invocable<Value&> Change> void modify(const Key<Value>& key, Change&& change) {
    modify(*key.suite(), key, std::forward<Change>(change));
}

// The same for keys as they are held.
template <class Value> Value get(const std::shared_ptr<Key<Value>>& key) {
    return get(*key);
}
template <class Value>
void set(const std::shared_ptr<Key<Value>>& key, const std::type_identity_t<Value>& value) {
    set(*key, value);
}
template <class Value, std::invocable<Value&> Change>
void modify(const std::shared_ptr<Key<Value>>& key, Change&& change) {
    modify(*key, std::forward<Change>(change));
}
template <class Value> Value get(foundation::UserDefaults& suite, const std::shared_ptr<Key<Value>>& key) {
    return get(suite, *key);
}
template <class Value>
void set(foundation::UserDefaults& suite, const std::shared_ptr<Key<Value>>& key,
         const std::type_identity_t<Value>& value) {
    set(suite, *key, value);
}
template <class Value, std::invocable<Value&> Change>
void modify(foundation::UserDefaults& suite, const std::shared_ptr<Key<Value>>& key, Change&& change) {
    modify(suite, *key, std::forward<Change>(change));
}

} // namespace Prefs
