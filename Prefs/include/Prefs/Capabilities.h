#pragma once

#include "foundation/RawRepresentable.h"
#include "foundation/SecureCoding.h"

#include <concepts>
#include <ranges>
#include <vector>

// Capabilities a value type opts into, one specialisation each, to choose its bridge.
namespace Prefs {

// A raw-representable type that also codes as JSON is stored by its raw value instead:
//     template <> inline constexpr bool Prefs::preferRawRepresentable<Mode> = true;
template <class T> inline constexpr bool preferRawRepresentable = false;
template <class T>
concept PreferRawRepresentable = preferRawRepresentable<T> && foundation::RawRepresentable<T>;

// An archivable class that also codes as JSON is stored as a keyed archive instead.
template <class T> inline constexpr bool preferNSSecureCoding = false;
template <class T>
concept PreferNSSecureCoding = preferNSSecureCoding<T> && foundation::SecureCodingClass<T>;

// A collection stored as the array of its elements, in order, and built back from one.
template <class T> inline constexpr bool collectionSerializable = false;
template <class T>
concept CollectionSerializable = collectionSerializable<T> && std::ranges::input_range<const T> &&
    std::constructible_from<T, std::vector<typename T::value_type>>;

// A set-like type stored as the array elementsArray() gives, and built back from one.
template <class T> inline constexpr bool setAlgebraSerializable = false;
template <class T>
concept SetAlgebraSerializable = setAlgebraSerializable<T> && requires(const T& value) {
    { value.elementsArray() } -> std::same_as<std::vector<typename T::value_type>>;
} && std::constructible_from<T, std::vector<typename T::value_type>>;

// A range type stored as its two bounds. Construction takes the bounds unchecked; the bridge
// checks their order before it builds one.
template <class R>
concept Range = std::totally_ordered<typename R::Bound> && requires(const R& range, typename R::Bound bound) {
    { range.lowerBound() } -> std::convertible_to<typename R::Bound>;
    { range.upperBound() } -> std::convertible_to<typename R::Bound>;
    { R::uncheckedBounds(bound, bound) } -> std::same_as<R>;
};

} // namespace Prefs
