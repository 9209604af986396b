#pragma once

#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"
#include "foundation/RawRepresentable.h"
#include "foundation/UTF8.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text raw values holding any codable value as JSON, for stores that keep only simple values.
// Each call makes its own coder with default settings. Encoding never fails outwardly: a value
// JSON cannot hold (a NaN, text that is not UTF-8) gives a fixed fallback, and the failure is
// logged. Decoding gives nullopt for text that is not UTF-8 or not JSON of the expected type.
namespace ViewKit {

namespace detail {

void logRawValueEncodingFailure(const std::string& type, const foundation::CodingError& error);

template <foundation::Codable T> std::optional<std::string> encodeRawValue(const T& value) {
    try {
        const foundation::Data data = foundation::JSONEncoder().encode(value);
        return std::string(data.begin(), data.end());
    } catch (const foundation::EncodingError& error) {
        logRawValueEncodingFailure(foundation::codingTypeName<T>(), error);
        return std::nullopt;
    }
}

template <foundation::Codable T> std::optional<T> decodeRawValue(std::string_view text) {
    if (!foundation::isValidUTF8(text)) return std::nullopt;
    try {
        return foundation::JSONDecoder().decode<T>(text);
    } catch (const foundation::CodingError&) {
        return std::nullopt;
    }
}

} // namespace detail

// A codable value stored as the JSON of the value itself: StorageValue(5) is "5",
// StorageValue(std::string("a")) is "\"a\"". Fallback: "".
template <foundation::Codable V> struct StorageValue {
    V value;

    explicit StorageValue(V v)
        : value(std::move(v)) {}

    std::string rawValue() const { return detail::encodeRawValue(value).value_or(""); }
    static std::optional<StorageValue> fromRawValue(std::string_view raw) {
        auto decoded = detail::decodeRawValue<V>(raw);
        if (!decoded) return std::nullopt;
        return StorageValue(*std::move(decoded));
    }

    bool operator==(const StorageValue&) const = default;
};

// An array as a JSON array; fallback "" (which reads back as no value).
template <foundation::Codable T> std::string rawValue(const std::vector<T>& array) {
    return detail::encodeRawValue(array).value_or("");
}
template <foundation::Codable T> std::optional<std::vector<T>> arrayFromRawValue(std::string_view raw) {
    return detail::decodeRawValue<std::vector<T>>(raw);
}

// A map as JSON the way foundation's coders store it: text and integer keys as an object,
// other keys as an array of alternating key and value. Fallback "{}" (which reads back as an
// empty map).
template <class K, class V>
requires foundation::Codable<std::map<K, V>> std::string rawValue(const std::map<K, V>& dictionary) {
    return detail::encodeRawValue(dictionary).value_or("{}");
}
template <class K, class V>
requires foundation::Codable<std::map<K, V>> std::optional<std::map<K, V>>
dictionaryFromRawValue(std::string_view raw) {
    return detail::decodeRawValue<std::map<K, V>>(raw);
}

} // namespace ViewKit

template <foundation::Codable V> struct foundation::RawRepresentation<ViewKit::StorageValue<V>> {
    using RawValue = std::string;
    static RawValue rawValue(const ViewKit::StorageValue<V>& value) { return value.rawValue(); }
    static std::optional<ViewKit::StorageValue<V>> fromRawValue(const RawValue& raw) {
        return ViewKit::StorageValue<V>::fromRawValue(raw);
    }
};
