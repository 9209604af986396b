#include "foundation/JSONDecoder.h"

#include <fmt/format.h>

namespace foundation::detail {

namespace {

using Kind = DecodingError::Kind;

// -9223372036854775809 up to -9223372036854776832: a double rounds them to -2^63, which would
// then pass for the smallest 64-bit integer.
bool roundsToInt64Min(std::string_view digits) {
    return digits.size() == 19 && digits > "9223372036854775808" && digits <= "9223372036854776832";
}

struct Scan {
    bool nestsTooDeeply = false;
    std::string_view integerBelowInt64Min;
};

// nlohmann's parser keeps its own stack, but copies and our walks over the tree recurse, so
// deep nesting is refused before parsing. Malformed text is left to the parser.
Scan scan(std::string_view text) {
    Scan result;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
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
            if (++depth > JSONDecoder::maximumDepth) {
                result.nestsTooDeeply = true;
                return result;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == '-') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9')
                ++end;
            const bool whole =
                end == text.size() || (text[end] != '.' && text[end] != 'e' && text[end] != 'E');
            if (whole && result.integerBelowInt64Min.empty() &&
                roundsToInt64Min(text.substr(i + 1, end - i - 1)))
                result.integerBelowInt64Min = text.substr(i, end - i);
            i = end - 1;
        }
    }
    return result;
}

} // namespace

nlohmann::json parseJSON(std::string_view text, const std::string& targetType, bool targetIsNumber) {
    const Scan found = scan(text);
    if (found.nestsTooDeeply)
        throw DecodingError(Kind::dataCorrupted,
                            fmt::format("The given data was not valid JSON: it nests deeper than {} levels.",
                                        JSONDecoder::maximumDepth));
    // nlohmann's lexer takes a NUL byte for the end of its input and would read "[1]\0xyz" as
    // [1]. JSON has no place for a raw NUL, in a string or between values.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        throw DecodingError(
            Kind::dataCorrupted,
            fmt::format("The given data was not valid JSON (the error is near byte {}).", nul + 1));
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(text.begin(), text.end());
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
    if (!found.integerBelowInt64Min.empty())
        throw DecodingError(
            Kind::typeMismatch,
            fmt::format("The number {} lies just below the smallest 64-bit integer, and read as "
                        "a real it would pass for that integer.",
                        found.integerBelowInt64Min));
    return json;
}

} // namespace foundation::detail
