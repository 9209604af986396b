#pragma once

#include "foundation/CodingError.h"
#include "foundation/JSONCoding.h"
#include "foundation/JSONDateCodingStrategy.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace foundation {

namespace detail {

// Malformed JSON, or nesting deeper than JSONDecoder::maximumDepth, is dataCorrupted. A number
// beyond the range of a double is a type mismatch, named after the target when it is a number.
// So is a whole number from -2^63 - 1024 to -2^63 - 1: the tree keeps it as a double, which is
// -2^63 exactly and would read as Int64's smallest value.
nlohmann::json parseJSON(std::string_view text, const std::string& targetType, bool targetIsNumber);

} // namespace detail

// Reads a Codable value from UTF-8 JSON (any value at the top level), with the checks that
// JSONCoding.h describes. Throws DecodingError.
class JSONDecoder {
public:
    static constexpr int maximumDepth = 512;

    const DateDecodingStrategy& dateDecodingStrategy() const { return dateDecodingStrategy_; }
    void setDateDecodingStrategy(DateDecodingStrategy strategy) {
        dateDecodingStrategy_ = std::move(strategy);
    }

    template <Codable T> T decode(std::string_view text) const {
        const detail::DateCodingScope dates(dateDecodingStrategy_);
        return decodeJSON<T>(detail::parseJSON(text, codingTypeName<T>(), std::is_arithmetic_v<T>));
    }
    template <Codable T> T decode(std::span<const std::uint8_t> bytes) const {
        return decode<T>(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

private:
    DateDecodingStrategy dateDecodingStrategy_;
};

} // namespace foundation
