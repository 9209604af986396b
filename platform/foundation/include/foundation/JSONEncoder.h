#pragma once

#include "foundation/CodingError.h"
#include "foundation/JSONCoding.h"
#include "foundation/JSONDateCodingStrategy.h"
#include "foundation/PropertyList.h"

#include <nlohmann/json.hpp>

namespace foundation {

// Writes a Codable value as UTF-8 JSON, compact unless prettyPrinted. Any value may be the top
// level: a string comes out as "red" with its quotes, a number as 42.
//
// Object keys always come out sorted by their UTF-8 bytes, whether or not sortedKeys is set:
// nlohmann's objects keep their keys in a sorted map. Data comes out as base64 text.
// A NaN or infinite number anywhere, or text that is not UTF-8, is an EncodingError
// (invalidValue): JSON has no form for them, and writing null instead would lose the value.
class JSONEncoder {
public:
    enum class OutputFormatting { sortedKeys = 1, prettyPrinted = 2 };

    OutputFormatting outputFormatting() const { return outputFormatting_; }
    void setOutputFormatting(OutputFormatting formatting) { outputFormatting_ = formatting; }

    const DateEncodingStrategy& dateEncodingStrategy() const { return dateEncodingStrategy_; }
    void setDateEncodingStrategy(DateEncodingStrategy strategy) {
        dateEncodingStrategy_ = std::move(strategy);
    }

    template <Codable T> Data encode(const T& value) const {
        nlohmann::json json;
        try {
            const detail::DateCodingScope dates(dateEncodingStrategy_);
            json = value;
        } catch (const nlohmann::json::exception& error) {
            throw EncodingError(EncodingError::Kind::invalidValue,
                                "Unable to encode " + codingTypeName<T>() + ": " + error.what());
        }
        return encodeJSON(std::move(json));
    }

    // The last step of encode(), for a tree built by hand.
    Data encodeJSON(nlohmann::json json) const;

private:
    OutputFormatting outputFormatting_{};
    DateEncodingStrategy dateEncodingStrategy_;
};

constexpr JSONEncoder::OutputFormatting operator|(JSONEncoder::OutputFormatting a,
                                                  JSONEncoder::OutputFormatting b) {
    return JSONEncoder::OutputFormatting(int(a) | int(b));
}

constexpr JSONEncoder::OutputFormatting operator&(JSONEncoder::OutputFormatting a,
                                                  JSONEncoder::OutputFormatting b) {
    return JSONEncoder::OutputFormatting(int(a) & int(b));
}

} // namespace foundation
