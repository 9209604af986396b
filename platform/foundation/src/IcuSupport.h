#pragma once

#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>

#include <string_view>

// What foundation's uses of ICU share.
namespace foundation::detail {

inline icu::StringPiece stringPiece(std::string_view text) {
    return icu::StringPiece(text.data(), std::int32_t(text.size()));
}

// The composing normalizer; ICU's data is built into the library, so this never fails.
const icu::Normalizer2& nfcNormalizer();

} // namespace foundation::detail
