#pragma once

#include <concepts>
#include <optional>

namespace foundation {

// A type that maps to and from a raw value, as an enum with text names does. Opted into per
// type by a specialisation:
//
//     template <> struct foundation::RawRepresentation<Icon> {
//         using RawValue = std::string;
//         static RawValue rawValue(const Icon& icon);
//         static std::optional<Icon> fromRawValue(const RawValue& raw); // nullopt when unknown
//     };
template <class T> struct RawRepresentation;

template <class T>
concept RawRepresentable = requires(const T& value, const typename RawRepresentation<T>::RawValue& raw) {
    { RawRepresentation<T>::rawValue(value) } -> std::convertible_to<typename RawRepresentation<T>::RawValue>;
    { RawRepresentation<T>::fromRawValue(raw) } -> std::same_as<std::optional<T>>;
};

template <RawRepresentable T> typename RawRepresentation<T>::RawValue rawValue(const T& value) {
    return RawRepresentation<T>::rawValue(value);
}

} // namespace foundation
