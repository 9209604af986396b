#pragma once

#include "foundation/Date.h"
#include "foundation/RawRepresentable.h"
#include "foundation/UUID.h"

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

namespace store {

// The kinds of value an attribute holds, and how each is kept in the file.
enum class AttributeType {
    boolean, // INTEGER 0 or 1
    integer, // INTEGER, 64-bit
    real,    // REAL
    text,    // TEXT
    uuid,    // BLOB of 16 bytes
    date,    // REAL, seconds since the reference date
};

// One attribute value; std::monostate is an absent optional.
using Value =
    std::variant<std::monostate, bool, std::int64_t, double, std::string, foundation::UUID, foundation::Date>;

// Orders absent first, then by value; values of different kinds by kind.
int compareValues(const Value& a, const Value& b);

// Whether `value` fits an attribute of that type (absent fits only an optional one).
bool valueFits(const Value& value, AttributeType type, bool isOptional);

// How a C++ field type maps to a Value. Specialise for a type of your own (a raw-value enum,
// say) with `type`, `toValue` and `fromValue`; fromValue gives nothing for a value it cannot
// take, and the field then keeps its declared default.
template <class T> struct ValueTraits;

namespace detail {
template <class T, AttributeType Type> struct DirectValueTraits {
    static constexpr AttributeType type = Type;
    static Value toValue(const T& value) { return value; }
    static std::optional<T> fromValue(const Value& value) {
        if (const T* v = std::get_if<T>(&value)) return *v;
        return std::nullopt;
    }
};
} // namespace detail

template <> struct ValueTraits<bool> : detail::DirectValueTraits<bool, AttributeType::boolean> {};
template <>
struct ValueTraits<std::int64_t> : detail::DirectValueTraits<std::int64_t, AttributeType::integer> {};
template <> struct ValueTraits<double> : detail::DirectValueTraits<double, AttributeType::real> {};
template <> struct ValueTraits<std::string> : detail::DirectValueTraits<std::string, AttributeType::text> {};
template <>
struct ValueTraits<foundation::UUID> : detail::DirectValueTraits<foundation::UUID, AttributeType::uuid> {};
template <>
struct ValueTraits<foundation::Date> : detail::DirectValueTraits<foundation::Date, AttributeType::date> {};

template <class T> struct ValueTraits<std::optional<T>> {
    static constexpr AttributeType type = ValueTraits<T>::type;
    static Value toValue(const std::optional<T>& value) {
        if (!value) return std::monostate{};
        return ValueTraits<T>::toValue(*value);
    }
    static std::optional<std::optional<T>> fromValue(const Value& value) {
        if (std::holds_alternative<std::monostate>(value)) return std::optional<T>();
        if (auto v = ValueTraits<T>::fromValue(value)) return std::optional<T>(std::move(*v));
        return std::nullopt;
    }
};

// A raw-value enum is kept as its raw text; a stored text it does not know leaves the default.
template <class T>
requires foundation::RawRepresentable<T> &&
    std::same_as<typename foundation::RawRepresentation<T>::RawValue, std::string>
struct ValueTraits<T> {
    static constexpr AttributeType type = AttributeType::text;
    static Value toValue(const T& value) { return foundation::rawValue(value); }
    static std::optional<T> fromValue(const Value& value) {
        if (const auto* text = std::get_if<std::string>(&value))
            return foundation::RawRepresentation<T>::fromRawValue(*text);
        return std::nullopt;
    }
};

template <class T> inline constexpr bool isOptionalValue = false;
template <class T> inline constexpr bool isOptionalValue<std::optional<T>> = true;

} // namespace store
