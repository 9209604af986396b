#pragma once

#include "foundation/CodingError.h"
#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/RawRepresentable.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

// JSON coding over nlohmann::json.
//
// A type codes to and from JSON when nlohmann::json converts it both ways, through to_json /
// from_json functions found by ADL or through a nlohmann::adl_serializer specialisation. Types
// opt in one by one: foundation builds with JSON_DISABLE_ENUM_SERIALIZATION, so an enum never
// quietly codes as its underlying integer. This header adds the adapters of our own types:
//
//     Date              a number: its seconds since 2001-01-01, unless the coder at work
//                       on the thread has another date strategy
//     Data              base64 text
//     URL               its absolute text
//     UUID              its upper-case text
//     std::optional<T>  null when empty
//     RawRepresentable  its raw value, for types with codesByRawValue<T> = true
//     std::map<K, V>    an object; integer keys as their decimal text, and any key type
//                       other than text and integers as an array of alternating key and
//                       value: [k1, v1, k2, v2]
//
// nlohmann's own get<T>() is lax (true reads as 1, 42.5 as 42), so adapters read their fields
// with decodeJSONField / decodeJSON, which check the way JSONDecoder does:
// - Bool takes only true and false; 1 is no Boolean, true is no number.
// - An integer type takes a number only when its value fits exactly: 42.0 reads as 42, while
//   42.5, 300 as Int8 and -1 as any unsigned type are type mismatches.
// - A floating-point type takes any number within its range, to the nearest value (as reading
//   decimal text always does); 1e39 is no Float.
// - String takes only text; a number is no string.
// - null, or a missing key, is valueNotFound / keyNotFound, except for an optional, which
//   reads them as nullopt.
// - A map's key that is not decimal text of its integer type, a key that comes twice (also
//   "1" and "01"), and an alternating array of odd length are dataCorrupted.
namespace foundation {

template <class T>
concept Codable = std::is_constructible_v<nlohmann::json, const T&> && requires(const nlohmann::json& json) {
    { json.template get<T>() } -> std::same_as<T>;
};

// Opts a RawRepresentable type into coding as its raw value:
//     template <> inline constexpr bool foundation::codesByRawValue<Icon> = true;
template <class T> inline constexpr bool codesByRawValue = false;

template <class T>
concept CodesByRawValue = RawRepresentable<T> && codesByRawValue<T>;

namespace detail {

template <class T> inline constexpr bool isOptional = false;
template <class T> inline constexpr bool isOptional<std::optional<T>> = true;
template <class T> inline constexpr bool isArray = false;
template <class T, class A> inline constexpr bool isArray<std::vector<T, A>> = true;
template <class T> inline constexpr bool isStringMap = false;
template <class T, class C, class A> inline constexpr bool isStringMap<std::map<std::string, T, C, A>> = true;
// Maps whose keys are not text: coded as JSONCoding.h's header says.
template <class T> inline constexpr bool isKeyedMap = false;
template <class K, class T, class C, class A>
inline constexpr bool isKeyedMap<std::map<K, T, C, A>> = !std::same_as<K, std::string>;
template <class K>
concept IntegerKey = std::integral<K> && !std::same_as<K, bool> && !std::same_as<K, char>;

std::string demangledTypeName(const std::type_info& type);
// "number 300", "a string", "null": what an error says it found.
std::string describeJSON(const nlohmann::json& json);

[[noreturn]] void throwTypeMismatch(const std::string& expected, const nlohmann::json& found);
[[noreturn]] void throwValueNotFound(const std::string& expected);
[[noreturn]] void throwKeyNotFound(std::string_view key);
[[noreturn]] void throwUnknownRawValue(const std::string& type, const nlohmann::json& found);
[[noreturn]] void throwDataCorrupted(std::string message);
// The integer that decimal text names, when it fits std::int64_t or std::uint64_t.
std::optional<std::int64_t> signedIntegerKey(std::string_view text);
std::optional<std::uint64_t> unsignedIntegerKey(std::string_view text);
// For errors of nlohmann's own conversions inside a user's adapter.
[[noreturn]] void rethrowAsDecodingError(const nlohmann::json::exception& error, const std::string& type);

// As the date strategy of the coder at work on this thread says (JSONDateCodingStrategy.h).
Date dateFromJSON(const nlohmann::json& json);
nlohmann::json jsonFromDate(Date date);
Data dataFromJSON(const nlohmann::json& json);
URL urlFromJSON(const nlohmann::json& json);
UUID uuidFromJSON(const nlohmann::json& json);

std::string indexComponent(std::size_t index);

} // namespace detail

// The name errors use for T: "Int8", "Double", "String", "Array<Date>", or the C++ name of a
// type of its own.
template <class T> std::string codingTypeName() {
    if constexpr (std::same_as<T, bool>) {
        return "Bool";
    } else if constexpr (std::is_integral_v<T>) {
        return (std::is_signed_v<T> ? "Int" : "UInt") + std::to_string(sizeof(T) * 8);
    } else if constexpr (std::same_as<T, float>) {
        return "Float";
    } else if constexpr (std::same_as<T, double>) {
        return "Double";
    } else if constexpr (std::is_floating_point_v<T>) {
        return "LongDouble";
    } else if constexpr (std::same_as<T, std::string>) {
        return "String";
    } else if constexpr (std::same_as<T, Data>) {
        return "Data";
    } else if constexpr (std::same_as<T, Date>) {
        return "Date";
    } else if constexpr (std::same_as<T, URL>) {
        return "URL";
    } else if constexpr (std::same_as<T, UUID>) {
        return "UUID";
    } else if constexpr (detail::isOptional<T>) {
        return "Optional<" + codingTypeName<typename T::value_type>() + ">";
    } else if constexpr (detail::isArray<T>) {
        return "Array<" + codingTypeName<typename T::value_type>() + ">";
    } else if constexpr (detail::isStringMap<T> || detail::isKeyedMap<T>) {
        return "Dictionary<" + codingTypeName<typename T::key_type>() + ", " +
               codingTypeName<typename T::mapped_type>() + ">";
    } else if constexpr (std::same_as<T, nlohmann::json>) {
        return "JSON";
    } else {
        return detail::demangledTypeName(typeid(T));
    }
}

namespace detail {

template <class T> T decodeNumber(const nlohmann::json& json) {
    using Type = nlohmann::json::value_t;
    if constexpr (std::is_integral_v<T>) {
        constexpr auto lowest = std::numeric_limits<T>::lowest();
        constexpr auto highest = std::numeric_limits<T>::max();
        switch (json.type()) {
        case Type::number_unsigned: {
            const auto value = json.get<std::uint64_t>();
            if (value <= std::uint64_t(highest)) return T(value);
            break;
        }
        case Type::number_integer: {
            const auto value = json.get<std::int64_t>();
            if constexpr (std::is_signed_v<T>) {
                if (value >= std::int64_t(lowest) && value <= std::int64_t(highest)) return T(value);
            } else {
                if (value >= 0 && std::uint64_t(value) <= std::uint64_t(highest)) return T(value);
            }
            break;
        }
        case Type::number_float: {
            const double value = json.get<double>();
            // Integer types hold every whole number below 2^digits and, signed, down to -2^digits.
            const double limit = std::ldexp(1.0, std::numeric_limits<T>::digits);
            const double least = std::is_signed_v<T> ? -limit : 0.0;
            if (std::trunc(value) == value && value >= least && value < limit) return T(value);
            break;
        }
        default:
            break;
        }
    } else {
        switch (json.type()) {
        case Type::number_unsigned:
            return T(json.get<std::uint64_t>());
        case Type::number_integer:
            return T(json.get<std::int64_t>());
        case Type::number_float: {
            const double value = json.get<double>();
            constexpr T highest = std::numeric_limits<T>::max();
            if (std::fabs(value) <= double(highest)) return T(value);
            if constexpr (std::numeric_limits<T>::max_exponent < std::numeric_limits<double>::max_exponent) {
                // Up to half a step past the largest value still rounds to it ("3.4028235e38" as Float).
                const double overflow = std::ldexp(2.0 - std::ldexp(1.0, -std::numeric_limits<T>::digits),
                                                   std::numeric_limits<T>::max_exponent - 1);
                if (std::fabs(value) < overflow) return std::signbit(value) ? -highest : highest;
            }
            break;
        }
        default:
            break;
        }
    }
    throwTypeMismatch(codingTypeName<T>(), json);
}

template <class T> T decodeKeyedMap(const nlohmann::json& json);

} // namespace detail

// Decodes a JSON value as T with the checks above; errors carry the coding path below `json`.
template <class T> T decodeJSON(const nlohmann::json& json) {
    if constexpr (detail::isOptional<T>) {
        if (json.is_null()) return std::nullopt;
        return T(decodeJSON<typename T::value_type>(json));
    } else if constexpr (std::same_as<T, nlohmann::json>) {
        return json;
    } else {
        if (json.is_null()) detail::throwValueNotFound(codingTypeName<T>());
        if constexpr (std::same_as<T, bool>) {
            if (!json.is_boolean()) detail::throwTypeMismatch(codingTypeName<T>(), json);
            return json.get<bool>();
        } else if constexpr (std::is_arithmetic_v<T>) {
            return detail::decodeNumber<T>(json);
        } else if constexpr (std::same_as<T, std::string>) {
            if (!json.is_string()) detail::throwTypeMismatch(codingTypeName<T>(), json);
            return json.get_ref<const std::string&>();
        } else if constexpr (detail::isArray<T> && !std::same_as<T, Data>) {
            if (!json.is_array()) detail::throwTypeMismatch(codingTypeName<T>(), json);
            T result;
            result.reserve(json.size());
            for (std::size_t i = 0; i < json.size(); ++i) {
                try {
                    result.push_back(decodeJSON<typename T::value_type>(json[i]));
                } catch (DecodingError& error) {
                    error.prependCodingPath(detail::indexComponent(i));
                    throw;
                }
            }
            return result;
        } else if constexpr (detail::isStringMap<T>) {
            if (!json.is_object()) detail::throwTypeMismatch(codingTypeName<T>(), json);
            T result;
            for (const auto& [key, element] : json.get_ref<const nlohmann::json::object_t&>()) {
                try {
                    result.emplace(key, decodeJSON<typename T::mapped_type>(element));
                } catch (DecodingError& error) {
                    error.prependCodingPath(key);
                    throw;
                }
            }
            return result;
        } else if constexpr (detail::isKeyedMap<T>) {
            return detail::decodeKeyedMap<T>(json);
        } else {
            static_assert(Codable<T>,
                          "T has no JSON adapter: give it to_json/from_json or an adl_serializer");
            try {
                return json.get<T>();
            } catch (const nlohmann::json::exception& error) {
                detail::rethrowAsDecodingError(error, codingTypeName<T>());
            }
        }
    }
}

// The field `key` of a JSON object, decoded as T. A missing key is keyNotFound, or nullopt
// for an optional.
template <class T> T decodeJSONField(const nlohmann::json& object, std::string_view key) {
    if (!object.is_object()) detail::throwTypeMismatch("Dictionary", object);
    const auto found = object.find(std::string(key));
    if (found == object.end()) {
        if constexpr (detail::isOptional<T>) {
            return std::nullopt;
        } else {
            detail::throwKeyNotFound(key);
        }
    }
    try {
        return decodeJSON<T>(*found);
    } catch (DecodingError& error) {
        error.prependCodingPath(std::string(key));
        throw;
    }
}

namespace detail {

template <class T> T decodeKeyedMap(const nlohmann::json& json) {
    using Key = typename T::key_type;
    using Value = typename T::mapped_type;
    T result;
    const auto insert = [&](Key key, Value value, const std::string& where) {
        if (!result.emplace(std::move(key), std::move(value)).second)
            throwDataCorrupted("The key at " + where + " comes twice in the dictionary.");
    };
    if constexpr (IntegerKey<Key>) {
        if (!json.is_object()) throwTypeMismatch(codingTypeName<T>(), json);
        for (const auto& [text, element] : json.get_ref<const nlohmann::json::object_t&>()) {
            std::optional<Key> key;
            if constexpr (std::is_signed_v<Key>) {
                const auto wide = signedIntegerKey(text);
                if (wide && *wide >= std::numeric_limits<Key>::min() &&
                    *wide <= std::numeric_limits<Key>::max())
                    key = Key(*wide);
            } else {
                const auto wide = unsignedIntegerKey(text);
                if (wide && *wide <= std::numeric_limits<Key>::max()) key = Key(*wide);
            }
            if (!key)
                throwDataCorrupted("Expected " + codingTypeName<Key>() + " keys but found the key \"" + text +
                                   "\".");
            try {
                insert(*key, decodeJSON<Value>(element), "\"" + text + "\"");
            } catch (DecodingError& error) {
                error.prependCodingPath(text);
                throw;
            }
        }
    } else {
        if (!json.is_array()) throwTypeMismatch(codingTypeName<T>(), json);
        if (json.size() % 2 != 0)
            throwDataCorrupted("Expected keys and values in turn, but the last key has no value.");
        for (std::size_t i = 0; i < json.size(); i += 2) {
            std::size_t at = i;
            try {
                Key key = decodeJSON<Key>(json[i]);
                at = i + 1;
                insert(std::move(key), decodeJSON<Value>(json[i + 1]), indexComponent(i));
            } catch (DecodingError& error) {
                error.prependCodingPath(indexComponent(at));
                throw;
            }
        }
    }
    return result;
}

} // namespace detail

} // namespace foundation

NLOHMANN_JSON_NAMESPACE_BEGIN

template <> struct adl_serializer<foundation::Date> {
    static void to_json(json& out, const foundation::Date& date) {
        out = foundation::detail::jsonFromDate(date);
    }
    static foundation::Date from_json(const json& in) { return foundation::detail::dateFromJSON(in); }
};

// Data is std::vector<std::uint8_t>, which nlohmann would write as an array of numbers. This
// specialisation turns it into a binary value instead, and JSONEncoder writes binary values as
// base64 text. A binary value rather than the text itself keeps the bytes apart from strings
// in the tree, so the choice of text form stays with the encoder. The specialisation must be
// seen wherever Data meets nlohmann::json, which including this header ensures.
template <> struct adl_serializer<std::vector<std::uint8_t>> {
    static void to_json(json& out, const std::vector<std::uint8_t>& data) { out = json::binary(data); }
    static std::vector<std::uint8_t> from_json(const json& in) {
        return foundation::detail::dataFromJSON(in);
    }
};

template <> struct adl_serializer<foundation::URL> {
    static void to_json(json& out, const foundation::URL& url) { out = url.absoluteString(); }
    static foundation::URL from_json(const json& in) { return foundation::detail::urlFromJSON(in); }
};

template <> struct adl_serializer<foundation::UUID> {
    static void to_json(json& out, const foundation::UUID& uuid) { out = uuid.uuidString(); }
    static foundation::UUID from_json(const json& in) { return foundation::detail::uuidFromJSON(in); }
};

template <class T> struct adl_serializer<std::optional<T>> {
    static void to_json(json& out, const std::optional<T>& value) {
        if (value)
            out = *value;
        else
            out = nullptr;
    }
    static std::optional<T> from_json(const json& in) { return foundation::decodeJSON<std::optional<T>>(in); }
};

template <class K, class V, class C, class A>
requires(!std::same_as<K, std::string>) struct adl_serializer<std::map<K, V, C, A>, void> {
    static void to_json(json& out, const std::map<K, V, C, A>& map) {
        if constexpr (foundation::detail::IntegerKey<K>) {
            out = json::object();
            for (const auto& [key, value] : map)
                out[std::to_string(key)] = value;
        } else {
            out = json::array();
            for (const auto& [key, value] : map) {
                out.push_back(key);
                out.push_back(value);
            }
        }
    }
    static std::map<K, V, C, A> from_json(const json& in) {
        return foundation::decodeJSON<std::map<K, V, C, A>>(in);
    }
};

template <foundation::CodesByRawValue T> struct adl_serializer<T, void> {
    using RawValue = typename foundation::RawRepresentation<T>::RawValue;
    static void to_json(json& out, const T& value) {
        out = foundation::RawRepresentation<T>::rawValue(value);
    }
    static T from_json(const json& in) {
        auto value = foundation::RawRepresentation<T>::fromRawValue(foundation::decodeJSON<RawValue>(in));
        if (!value) foundation::detail::throwUnknownRawValue(foundation::codingTypeName<T>(), in);
        return *std::move(value);
    }
};

NLOHMANN_JSON_NAMESPACE_END
