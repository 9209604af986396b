#pragma once

#include "Prefs/Serializable.h"
#include "Prefs/SerializableTraits.h"
#include "Prefs/detail/StoredForm.h"

#include "foundation/Fatal.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace Prefs {

// The untyped base of every key: a name in one suite. Keys are immutable and held by
// std::shared_ptr. Two keys are equal when their names are equal and they belong to the same
// suite object, whatever their value types.
class _AnyKey {
public:
    virtual ~_AnyKey();

    const std::string& name() const { return name_; }
    const std::shared_ptr<foundation::UserDefaults>& suite() const { return suite_; }

    // Removes the stored object from the key's own suite; the registered default shows again.
    virtual void reset() const;

    // Whether the key, read on its own suite, holds its default. False for a value type
    // without equality.
    virtual bool isDefaultValue() const = 0;

    bool operator==(const _AnyKey& other) const { return name_ == other.name_ && suite_ == other.suite_; }
    std::size_t hash() const;

protected:
    _AnyKey(std::string name, std::shared_ptr<foundation::UserDefaults> suite);

private:
    const std::string name_;
    const std::shared_ptr<foundation::UserDefaults> suite_;
};

namespace detail {
// Registers a key made with `iCloud` set for synchronisation (Prefs/iCloud.h).
void addToICloud(std::shared_ptr<_AnyKey> key);
} // namespace detail

// A typed key: reading yields a Value, either the stored object converted back or the
// default; see Prefs/ValueAccess.h. A Value needs a bridge (Prefs::Serializable).
template <Serializable Value> class Key : public _AnyKey {
public:
    using ValueType = Value;

    // The default is copied once and registered in the suite's registration domain, in its
    // stored form, unless it is empty or has no stored form. With `iCloud`, the key is then
    // registered for synchronisation.
    Key(std::string name, Value defaultValue,
        std::shared_ptr<foundation::UserDefaults> suite = foundation::UserDefaults::standard(),
        bool iCloud = false)
        : _AnyKey(std::move(name), std::move(suite))
        , defaultValueGetter_([value = std::move(defaultValue)] { return value; })
        , iCloud_(iCloud) {
        registerDefault();
        if (iCloud_) addToICloud();
    }

    // A default computed by `defaultValueGetter` at every read; nothing is registered in the
    // suite.
    Key(std::string name, std::shared_ptr<foundation::UserDefaults> suite, bool iCloud,
        std::function<Value()> defaultValueGetter)
        : _AnyKey(std::move(name), std::move(suite))
        , defaultValueGetter_(std::move(defaultValueGetter))
        , iCloud_(iCloud) {
        if (!defaultValueGetter_)
            foundation::fatal("Prefs.Key: no default value getter for \"" + this->name() + "\"");
        if (iCloud_) addToICloud();
    }

    // An optional key whose default is the empty value.
    explicit Key(std::string name,
                 std::shared_ptr<foundation::UserDefaults> suite = foundation::UserDefaults::standard(),
                 bool iCloud = false) requires detail::isOptional<Value>
        : Key(std::move(name), Value(), std::move(suite), iCloud) {}

    const std::function<Value()>& defaultValueGetter() const { return defaultValueGetter_; }
    // Calls the getter on every read; never cached.
    Value defaultValue() const { return defaultValueGetter_(); }

    // Whether the key should be kept in sync through iCloud.
    bool isICloud() const { return iCloud_; }

    bool isDefaultValue() const override;

private:
    Key(const Key&) = default;

    // A key being made has no owner yet, so the synchronisation keeps a copy, which is equal to
    // this key by name and suite and reads the same default.
    void addToICloud() const { detail::addToICloud(std::shared_ptr<Key>(new Key(*this))); }

    void registerDefault() {
        const Value value = defaultValueGetter_();
        if constexpr (_PrefsOptionalProtocol<Value>) {
            if (_defaults_isNil(value)) return;
        }
        foundation::PropertyList object = toSerializable(value);
        if (object.isAbsent()) return;
        suite()->registerDefaults({{name(), std::move(object)}});
    }

    const std::function<Value()> defaultValueGetter_;
    const bool iCloud_;
};

namespace detail {

// The read of a key on a suite: the stored object converted back, else the default.
template <class Value> Value read(foundation::UserDefaults& suite, const Key<Value>& key) {
    const foundation::PropertyList object = suite.objectForKey(key.name());
    if (object.isAbsent()) return key.defaultValue();
    // The common case first, inline: a native value stored as it is.
    if constexpr (isNativelySupportedType<Value>) {
        if (auto value = StoredForm<Value>::from(object)) return *std::move(value);
    }
    if (auto value = toValue<Value>(object)) return *std::move(value);
    return key.defaultValue();
}

} // namespace detail

template <Serializable Value> bool Key<Value>::isDefaultValue() const {
    if constexpr (std::equality_comparable<Value>) {
        return detail::read(*suite(), *this) == defaultValueGetter_();
    } else {
        return false;
    }
}

// Whether a name can be used as a key path of key-value observing: not starting with "@",
// ASCII only and without ".". The empty name is valid. Keys do not check their names.
bool isValidKeyPath(std::string_view name);

} // namespace Prefs

template <> struct std::hash<Prefs::_AnyKey> {
    std::size_t operator()(const Prefs::_AnyKey& key) const noexcept { return key.hash(); }
};
