#include "foundation/UnicodeNormalization.h"

#include "IcuSupport.h"
#include "UTF8.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uniset.h>

#include "foundation/Fatal.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace foundation {

namespace detail {

const icu::Normalizer2& nfcNormalizer() {
    static const icu::Normalizer2* const nfc = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
        if (U_FAILURE(status) || !normalizer) fatal("ICU has no normalization data");
        return normalizer;
    }();
    return *nfc;
}

} // namespace detail

namespace {

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string precomposedStringWithCanonicalMapping(std::string_view text) {
    // ASCII is its own normal form, and by far the common case.
    // ICU measures text in 32-bit lengths.
    if (isASCII(text) || text.size() > std::size_t(INT32_MAX) || !isValidUTF8(text)) return std::string(text);
    const icu::Normalizer2& nfc = detail::nfcNormalizer();
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece piece = detail::stringPiece(text);
    if (nfc.isNormalizedUTF8(piece, status) && U_SUCCESS(status)) return std::string(text);
    std::string result;
    icu::StringByteSink<std::string> sink(&result, std::int32_t(text.size()));
    status = U_ZERO_ERROR;
    nfc.normalizeUTF8(0, piece, sink, nullptr, status);
    if (U_FAILURE(status)) return std::string(text);
    return result;
}

bool isCanonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isASCII(a) && isASCII(b)) return false;
    return precomposedStringWithCanonicalMapping(a) == precomposedStringWithCanonicalMapping(b);
}

} // namespace foundation

namespace foundation {

namespace {

std::u32string decomposed(const icu::Normalizer2& nfd, char32_t c) {
    icu::UnicodeString mapping;
    if (!nfd.getDecomposition(UChar32(c), mapping)) return std::u32string(1, c);
    std::u32string result;
    for (std::int32_t i = 0; i < mapping.length(); i = mapping.moveIndex32(i, 1))
        result += char32_t(mapping.char32At(i));
    return result;
}

} // namespace

std::u32string canonicalEquivalentsOf(char32_t c) {
    struct Table {
        const icu::Normalizer2* nfd = nullptr;
        // Full canonical decomposition -> the code points that decompose to it.
        std::unordered_map<std::u32string, std::u32string> byDecomposition;
    };
    static const auto* const table = [] {
        auto* built = new Table;
        UErrorCode status = U_ZERO_ERROR;
        built->nfd = icu::Normalizer2::getNFDInstance(status);
        const icu::UnicodeSet decomposing(
            icu::UnicodeString(u"[[:NFD_QC=No:]-[:Hangul_Syllable_Type=LV:]-[:Hangul_Syllable_Type=LVT:]]"),
            status);
        if (U_FAILURE(status) || !built->nfd) fatal("ICU has no normalization data");
        // Hangul syllables are left out: each decomposes to jamo no other code point stands for.
        for (std::int32_t range = 0; range < decomposing.getRangeCount(); ++range)
            for (UChar32 code = decomposing.getRangeStart(range); code <= decomposing.getRangeEnd(range);
                 ++code)
                built->byDecomposition[decomposed(*built->nfd, char32_t(code))] += char32_t(code);
        return built;
    }();
    std::u32string result;
    const auto found = table->byDecomposition.find(decomposed(*table->nfd, c));
    if (found != table->byDecomposition.end())
        for (const char32_t other : found->second)
            if (other != c) result += other;
    return result;
}

} // namespace foundation
