#include "foundation/JSONDecoder.h"

#include <fmt/format.h>

namespace foundation::detail {

namespace {

using Kind = DecodingError::Kind;

// nlohmann's parser keeps its own stack, but copies and our walks over the tree recurse, so
// deep nesting is refused before parsing. Malformed text is left to the parser.
bool nestsTooDeeply(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > JSONDecoder::maximumDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

} // namespace

nlohmann::json parseJSON(std::string_view text, const std::string& targetType, bool targetIsNumber) {
    if (nestsTooDeeply(text))
        throw DecodingError(Kind::dataCorrupted,
                            fmt::format("The given data was not valid JSON: it nests deeper than {} levels.",
                                        JSONDecoder::maximumDepth));
    try {
        return nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error& error) {
        throw DecodingError(
            Kind::dataCorrupted,
            fmt::format("The given data was not valid JSON (the error is near byte {}).", error.byte));
    } catch (const nlohmann::json::out_of_range& error) {
        // 406: a number beyond the range of a double, "number overflow parsing '1e400'".
        if (error.id != 406) throw DecodingError(Kind::dataCorrupted, "The given data was not valid JSON.");
        const std::string_view what = error.what();
        const auto open = what.find('\'');
        const auto close = what.rfind('\'');
        const std::string number = open != close ? std::string(what.substr(open + 1, close - open - 1))
                                                 : std::string("out of range");
        if (targetIsNumber)
            throw DecodingError(
                Kind::typeMismatch,
                fmt::format("Expected to decode {} but found number {} instead.", targetType, number));
        throw DecodingError(Kind::typeMismatch,
                            fmt::format("The number {} is beyond the range of every number type.", number));
    }
}

} // namespace foundation::detail
