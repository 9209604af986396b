#pragma once

#include "foundation/Date.h"
#include "foundation/PropertyList.h"

#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// The traits every storable type is described by. Include Prefs/Serializable.h to use them:
// it holds the bridge of each type and the two conversions.
namespace Prefs {

// How a value type reaches the stored form and back: a stateless converter with
//
//     using Value = ...;         // the type itself, or for an optional the wrapped type
//     using Serializable = ...;  // the stored form: a native type or a property list
//     static std::optional<Serializable> serialize(const std::optional<Value>&);
//     static std::optional<Value> deserialize(const std::optional<Serializable>&);
//
// A type gets one by its capabilities (see Serializable.h), or states its own by a
// specialisation, which wins over every capability.
template <class T> struct Bridge;

// Types a suite holds as they are. Their bridge is used only for stored objects of another
// kind (the text 42 read as an integer).
template <class T> inline constexpr bool isNativelySupportedType = false;
template <> inline constexpr bool isNativelySupportedType<bool> = true;
template <> inline constexpr bool isNativelySupportedType<signed char> = true;
template <> inline constexpr bool isNativelySupportedType<unsigned char> = true;
template <> inline constexpr bool isNativelySupportedType<short> = true;
template <> inline constexpr bool isNativelySupportedType<unsigned short> = true;
template <> inline constexpr bool isNativelySupportedType<int> = true;
template <> inline constexpr bool isNativelySupportedType<unsigned> = true;
template <> inline constexpr bool isNativelySupportedType<long> = true;
template <> inline constexpr bool isNativelySupportedType<unsigned long> = true;
template <> inline constexpr bool isNativelySupportedType<long long> = true;
template <> inline constexpr bool isNativelySupportedType<unsigned long long> = true;
template <> inline constexpr bool isNativelySupportedType<float> = true;
template <> inline constexpr bool isNativelySupportedType<double> = true;
template <> inline constexpr bool isNativelySupportedType<std::string> = true;
template <> inline constexpr bool isNativelySupportedType<foundation::Date> = true;
// Also Data, which is a vector of bytes.
template <class E, class A>
inline constexpr bool isNativelySupportedType<std::vector<E, A>> = isNativelySupportedType<E>;
template <class V, class C, class A>
inline constexpr bool isNativelySupportedType<std::map<std::string, V, C, A>> = isNativelySupportedType<V>;
template <class W>
inline constexpr bool isNativelySupportedType<std::optional<W>> = isNativelySupportedType<W>;

template <class T>
concept Serializable = std::is_object_v<T> && !std::is_const_v<T> && requires {
    typename Bridge<T>::Value;
    typename Bridge<T>::Serializable;
}
&&requires(const std::optional<typename Bridge<T>::Value>& value,
           const std::optional<typename Bridge<T>::Serializable>& object) {
    { Bridge<T>::serialize(value) } -> std::same_as<std::optional<typename Bridge<T>::Serializable>>;
    { Bridge<T>::deserialize(object) } -> std::same_as<std::optional<typename Bridge<T>::Value>>;
};

// The stored object for a value, absent when its bridge yields nothing.
template <Serializable T> foundation::PropertyList toSerializable(const T& value);
// The value a stored object stands for, nullopt when it stands for none.
template <Serializable T> std::optional<T> toValue(const foundation::PropertyList& object);

namespace detail {

// Values that may stand for "no value": an empty one is never registered as a default, and
// writing one removes the stored object.
template <class T> struct OptionalTraits;
template <class W> struct OptionalTraits<std::optional<W>> {
    static bool isNil(const std::optional<W>& value) { return !value.has_value(); }
};

template <class T> inline constexpr bool isOptional = false;
template <class W> inline constexpr bool isOptional<std::optional<W>> = true;

} // namespace detail

template <class T>
concept _PrefsOptionalProtocol = requires(const T& value) {
    { detail::OptionalTraits<T>::isNil(value) } -> std::same_as<bool>;
};

template <_PrefsOptionalProtocol T> bool _defaults_isNil(const T& value) {
    return detail::OptionalTraits<T>::isNil(value);
}

} // namespace Prefs
