#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace foundation {

// A pattern that is no regular expression.
class RegularExpressionError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Whether the whole of `text` matches `pattern`, an ICU regular expression, as a predicate's
// MATCHES compares: anchored at both ends, case-sensitive unless the pattern says otherwise
// ("(?i)"). Text that is not UTF-8 reads with U+FFFD for each ill-formed sequence. Throws
// RegularExpressionError for an invalid pattern.
bool matchesRegularExpression(std::string_view text, std::string_view pattern);

} // namespace foundation
