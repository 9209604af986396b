#include "foundation/TextCase.h"

#include "IcuSupport.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/stringoptions.h>

namespace foundation {

std::string capitalized(std::string_view text) {
    std::string out;
    icu::StringByteSink<std::string> sink(&out, std::int32_t(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    // Exactly the character at each word start, not the first cased one after it.
    icu::CaseMap::utf8ToTitle("", U_TITLECASE_NO_BREAK_ADJUSTMENT, nullptr, detail::stringPiece(text), sink,
                              nullptr, status);
    if (U_FAILURE(status)) return std::string(text);
    return out;
}

std::string lowercased(std::string_view text) {
    std::string out;
    icu::StringByteSink<std::string> sink(&out, std::int32_t(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8ToLower("", 0, detail::stringPiece(text), sink, nullptr, status);
    if (U_FAILURE(status)) return std::string(text);
    return out;
}

} // namespace foundation
