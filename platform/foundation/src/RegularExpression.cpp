#include "foundation/RegularExpression.h"

#include "IcuSupport.h"

#include <unicode/regex.h>
#include <unicode/utext.h>

#include <climits>
#include <memory>

namespace foundation {

bool matchesRegularExpression(std::string_view text, std::string_view pattern) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    const std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        icu::UnicodeString::fromUTF8(detail::stringPiece(pattern)), 0, where, status));
    if (U_FAILURE(status) || !compiled)
        throw RegularExpressionError("Invalid regular expression \"" + std::string(pattern) + "\": " +
                                     u_errorName(status) + " at offset " + std::to_string(where.offset));
    if (text.size() > std::size_t(INT32_MAX)) return false;
    UText input = UTEXT_INITIALIZER;
    utext_openUTF8(&input, text.empty() ? "" : text.data(), std::int64_t(text.size()), &status);
    const std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(status));
    bool matches = false;
    if (U_SUCCESS(status) && matcher) {
        matcher->reset(&input);
        matches = matcher->matches(status);
    }
    utext_close(&input);
    return U_SUCCESS(status) && matches;
}

} // namespace foundation
