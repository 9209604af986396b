#pragma once

#include "Prefs/Bridges.h"
#include "Prefs/Capabilities.h"
#include "Prefs/SerializableTraits.h"
#include "Prefs/detail/StoredForm.h"

#include "foundation/Date.h"
#include "foundation/JSONCoding.h"
#include "foundation/PropertyList.h"
#include "foundation/Range.h"
#include "foundation/RawRepresentable.h"
#include "foundation/SecureCoding.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"

#include <concepts>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <vector>

// Which bridge a type gets, and the two conversions between values and stored objects.
namespace Prefs {

namespace detail {

// The bridge-choice table: the most specific row a type fits wins.
enum class BridgeRow {
    none,
    rawRepresentable,
    topLevelCodable,
    rawRepresentableCodable,
    secureCoding,
    codableSecureCoding,
    collection,
    setAlgebra,
};

template <class T> consteval BridgeRow bridgeRow() {
    constexpr bool codable = foundation::Codable<T>;
    constexpr bool rawRepresentable = foundation::RawRepresentable<T>;
    constexpr bool secureCoding = foundation::SecureCodingClass<T>;
    if constexpr (codable && PreferNSSecureCoding<T>)
        return BridgeRow::secureCoding;
    else if constexpr (codable && PreferRawRepresentable<T>)
        return BridgeRow::rawRepresentable;
    else if constexpr (codable && secureCoding)
        return BridgeRow::codableSecureCoding;
    else if constexpr (codable && rawRepresentable)
        return BridgeRow::rawRepresentableCodable;
    else if constexpr (secureCoding)
        return BridgeRow::secureCoding;
    // An opted-in collection wins over the JSON form any type with begin() and end() gets for free.
    else if constexpr (CollectionSerializable<T>)
        return BridgeRow::collection;
    else if constexpr (SetAlgebraSerializable<T>)
        return BridgeRow::setAlgebra;
    else if constexpr (codable)
        return BridgeRow::topLevelCodable;
    else if constexpr (rawRepresentable)
        return BridgeRow::rawRepresentable;
    else
        return BridgeRow::none;
}

// No members for a type without a capability, so it is not Serializable.
template <class T, BridgeRow = bridgeRow<T>()> struct ChosenBridge {};
template <class T> struct ChosenBridge<T, BridgeRow::rawRepresentable> : RawRepresentableBridge<T> {};
template <class T> struct ChosenBridge<T, BridgeRow::topLevelCodable> : TopLevelCodableBridge<T> {};
template <class T>
struct ChosenBridge<T, BridgeRow::rawRepresentableCodable> : RawRepresentableCodableBridge<T> {};
template <class T> struct ChosenBridge<T, BridgeRow::secureCoding> : NSSecureCodingBridge<T> {};
template <class T> struct ChosenBridge<T, BridgeRow::codableSecureCoding> : CodableNSSecureCodingBridge<T> {};
template <class T> struct ChosenBridge<T, BridgeRow::collection> : CollectionBridge<T> {};
template <class T> struct ChosenBridge<T, BridgeRow::setAlgebra> : SetAlgebraBridge<T> {};

template <class T>
concept Hashable = requires(const T& value) {
    { std::hash<T>{}(value) } -> std::convertible_to<std::size_t>;
};

} // namespace detail

// A type that states no bridge of its own gets the one its capabilities choose.
template <class T> struct Bridge : detail::ChosenBridge<T> {};

// The platform's types.
template <> struct Bridge<foundation::Data> : TopLevelCodableBridge<foundation::Data> {};
template <> struct Bridge<foundation::URL> : URLBridge {};
template <> struct Bridge<foundation::UUID> : UUIDBridge {};
template <Serializable W> struct Bridge<std::optional<W>> : OptionalBridge<W> {};
// Not through JSON either: the optional's JSON adapter accepts any wrapped type.
template <class W>
requires(!Serializable<W>) struct Bridge<std::optional<W>> {
};
template <Serializable E> struct Bridge<std::vector<E>> : ArrayBridge<E> {};
template <detail::LosslessText K, Serializable V> struct Bridge<std::map<K, V>> : DictionaryBridge<K, V> {};
template <Serializable E>
requires std::totally_ordered<E>
struct Bridge<std::set<E>> : SetBridge<std::set<E>> {
};
template <Serializable E>
requires detail::Hashable<E> && std::equality_comparable<E>
struct Bridge<std::unordered_set<E>> : SetBridge<std::unordered_set<E>> {
};
template <Serializable B> struct Bridge<foundation::Range<B>> : RangeBridge<foundation::Range<B>> {};
template <Serializable B>
struct Bridge<foundation::ClosedRange<B>> : RangeBridge<foundation::ClosedRange<B>> {};

namespace detail {

// Native scalars keep the JSON-text bridge, so text such as 42 still reads as the number.
template <class... T>
inline constexpr bool nativeWithTextBridge = ((isNativelySupportedType<T> &&
                                               std::is_base_of_v<TopLevelCodableBridge<T>, Bridge<T>>)&&...);

} // namespace detail

static_assert(detail::nativeWithTextBridge<bool, signed char, unsigned char, short, unsigned short, int,
                                           unsigned, long, unsigned long, long long, unsigned long long,
                                           float, double, std::string, foundation::Data, foundation::Date>);
static_assert(!isNativelySupportedType<foundation::URL> && !isNativelySupportedType<foundation::UUID>);
static_assert(std::is_base_of_v<URLBridge, Bridge<foundation::URL>> &&
              std::is_base_of_v<UUIDBridge, Bridge<foundation::UUID>>);

template <Serializable T> foundation::PropertyList toSerializable(const T& value) {
    if constexpr (isNativelySupportedType<T>) {
        return detail::StoredForm<T>::to(value);
    } else {
        auto stored = Bridge<T>::serialize(detail::bridgeInput<T>(value));
        if (!stored) return {};
        return detail::storedObject(*stored);
    }
}

template <Serializable T> std::optional<T> toValue(const foundation::PropertyList& object) {
    if constexpr (isNativelySupportedType<T>) {
        if (auto value = detail::StoredForm<T>::from(object)) return value;
    }
    using S = typename Bridge<T>::Serializable;
    std::optional<S> stored;
    // A stored form that has a bridge of its own converts first (an integer from JSON text).
    if constexpr (Serializable<S> && !std::is_same_v<S, T>) {
        stored = toValue<S>(object);
    } else {
        static_assert(detail::StoredObjectType<S>,
                      "a bridge's stored form must be a property list or serializable");
        stored = detail::StoredForm<S>::from(object);
    }
    return detail::bridgeOutput<T>(Bridge<T>::deserialize(stored));
}

} // namespace Prefs
