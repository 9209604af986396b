#pragma once

#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"
#include "foundation/UserDefaults.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Codable values kept in a user-defaults suite as JSON data under a key.
namespace ViewKit {

namespace detail {
void logCodableEncodingFailure(std::string_view key, const foundation::EncodingError& error);
}

// The value under `key`, when it is data that decodes as T; nullopt otherwise (no entry, an
// entry of another kind such as text, or JSON of another shape).
template <foundation::Codable T>
std::optional<T> codable(const foundation::UserDefaults& defaults, std::string_view key) {
    const foundation::PropertyList object = defaults.objectForKey(key);
    const foundation::Data* data = object.data();
    if (!data) return std::nullopt;
    try {
        return foundation::JSONDecoder().decode<T>(std::span<const std::uint8_t>(*data));
    } catch (const foundation::CodingError&) {
        return std::nullopt;
    }
}

// Stores `value` under `key` as JSON data and returns true. A value JSON cannot hold (a NaN,
// text that is not UTF-8) is logged and stores nothing: the earlier value stays, and the result
// is false.
template <foundation::Codable T>
bool setCodable(foundation::UserDefaults& defaults, const T& value, std::string_view key) {
    foundation::Data data;
    try {
        data = foundation::JSONEncoder().encode(value);
    } catch (const foundation::EncodingError& error) {
        detail::logCodableEncodingFailure(key, error);
        return false;
    }
    defaults.setObject(foundation::PropertyList(std::move(data)), key);
    return true;
}

} // namespace ViewKit
