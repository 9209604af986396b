#pragma once

#include <string>
#include <string_view>

namespace ViewKit {

// A regular expression (ICU syntax) that a whole text must match, for validating form fields.
struct ValidationRegex {
    std::string expression;

    // An e-mail address; one trailing space is accepted, as typing leaves it.
    static const ValidationRegex email;

    // Whether the whole text matches, case-sensitively unless the expression says otherwise.
    // An expression that is no valid pattern matches nothing (logged once per expression).
    bool matches(std::string_view text) const;

    bool operator==(const ValidationRegex&) const = default;
};

bool matches(std::string_view text, const ValidationRegex& regex);

} // namespace ViewKit
