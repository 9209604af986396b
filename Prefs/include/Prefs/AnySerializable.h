#pragma once

#include "Prefs/Serializable.h"
#include "Prefs/SerializableTraits.h"

#include "foundation/Any.h"
#include "foundation/AnyHashable.h"
#include "foundation/PropertyList.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Prefs {

class AnySerializable;

namespace detail {
template <class T>
concept AnySerializableLiteral = std::same_as<T, bool> || std::same_as<T, int> || std::same_as<T, long> ||
    std::same_as<T, long long> || std::same_as<T, double> || std::same_as<T, char> ||
    std::same_as<T, std::string> || std::same_as<T, std::string_view> || std::same_as<T, const char*> ||
    std::same_as<T, char*> || std::same_as<T, std::nullptr_t>;
} // namespace detail

// A value of any storable type, kept in its stored form and converted back on demand, so that
// one key can hold values of changing types. Literals keep their exact type: the literal 1 and
// true are different values, while a number read back from a suite compares equal to a literal
// of the same number (and to true when it is 1).
//
// Equality tries, in order, data, dates, Booleans, integers of each width, floating point, text
// (canonically equivalent), dictionaries and arrays (element by element by these same rules); the
// first kind both sides convert to decides, and values of any other kind are unequal. The empty
// value equals the empty value. The hash agrees with equality: a Boolean hashes as the integer
// 0 or 1, an integral floating-point number as that integer, text by its composed form.
class AnySerializable {
public:
    using Array = std::vector<foundation::Any>;
    using Dictionary = std::unordered_map<foundation::AnyHashable, foundation::Any>;

    // The empty value, which stands for no value: writing it through a key removes the object.
    AnySerializable() = default;
    AnySerializable(std::nullptr_t) {}

    // Literals. An integer is kept as a word-size integer, a number with a fraction as a double.
    AnySerializable(bool value)
        : value_(value) {}
    AnySerializable(int value)
        : value_(long(value)) {}
    AnySerializable(long value)
        : value_(value) {}
    AnySerializable(long long value)
        : value_(long(value)) {}
    AnySerializable(double value)
        : value_(value) {}
    AnySerializable(char character)
        : value_(std::string(1, character)) {}
    AnySerializable(const char* text)
        : value_(text) {}
    AnySerializable(std::string text)
        : value_(std::move(text)) {}
    AnySerializable(std::string_view text)
        : value_(std::string(text)) {}

    // The elements as they are, not converted.
    static AnySerializable array(std::initializer_list<foundation::Any> elements);
    static AnySerializable array(Array elements);
    // A key given twice is a programmer error.
    static AnySerializable
    dictionary(std::initializer_list<std::pair<foundation::AnyHashable, foundation::Any>> entries);

    // The stored form of a value; the empty value when it has none (an empty optional).
    template <class T>
    requires(!std::same_as<T, AnySerializable> && !detail::AnySerializableLiteral<T> &&
             Serializable<T>) explicit AnySerializable(const T& value) {
        set(value);
    }

    // A stored object as it is; absent gives the empty value.
    static AnySerializable fromObject(const foundation::PropertyList& object);

    const foundation::Any& value() const { return value_; }
    bool isEmpty() const { return !value_.has_value(); }

    // The value as a V, or nullopt when the held value does not convert to one.
    template <Serializable V> std::optional<V> get() const {
        const foundation::PropertyList object = propertyList();
        if (object.isAbsent()) return std::nullopt;
        return toValue<V>(object);
    }
    template <Serializable V> void set(const V& value) {
        foundation::PropertyList object = toSerializable(value);
        if (object.isAbsent())
            value_ = foundation::Any();
        else
            value_ = foundation::Any(std::move(object));
    }

    // The property list the value stands for; absent for the empty value and for values no
    // suite can hold (a dictionary with keys that are not text, an element of another type).
    foundation::PropertyList propertyList() const;

    bool operator==(const AnySerializable& other) const;
    std::size_t hash() const;

private:
    struct Held {};
    AnySerializable(Held, foundation::Any value);
    friend class AnySerializableAccess;

    foundation::Any value_;
};

// The bridge of AnySerializable: the held stored object, unchanged.
struct AnyBridge {
    using Value = AnySerializable;
    using Serializable = foundation::PropertyList;

    static std::optional<foundation::PropertyList> serialize(const std::optional<AnySerializable>& value) {
        if (!value) return std::nullopt;
        foundation::PropertyList object = value->propertyList();
        if (object.isAbsent()) return std::nullopt;
        return object;
    }
    // Never nothing: a missing object gives the empty value.
    static std::optional<AnySerializable> deserialize(const std::optional<foundation::PropertyList>& object) {
        return AnySerializable::fromObject(object ? *object : foundation::PropertyList());
    }
};

template <> struct Bridge<AnySerializable> : AnyBridge {};

namespace detail {
template <> struct OptionalTraits<AnySerializable> {
    static bool isNil(const AnySerializable& value) { return value.isEmpty(); }
};
} // namespace detail

} // namespace Prefs

template <> struct std::hash<Prefs::AnySerializable> {
    std::size_t operator()(const Prefs::AnySerializable& value) const noexcept { return value.hash(); }
};
