#include "foundation/TextSearch.h"

#include "UTF8.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <vector>

namespace foundation {

namespace {

// Text in full case folding, with where each source character's folding begins.
struct Folded {
    std::string text;
    std::vector<std::size_t> foldedStarts; // per source character, plus the end
    std::vector<std::size_t> sourceStarts; // the same characters' starts in the source
};

void appendFolding(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        return;
    }
    UChar source[2];
    std::int32_t length = 0;
    U16_APPEND_UNSAFE(source, length, UChar32(c));
    UChar folded[8];
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t foldedLength = u_strFoldCase(folded, 8, source, length, U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) {
        detail::appendUTF8(out, c);
        return;
    }
    for (std::int32_t i = 0; i < foldedLength;) {
        UChar32 f;
        U16_NEXT_UNSAFE(folded, i, f);
        detail::appendUTF8(out, char32_t(f));
    }
}

Folded fold(std::string_view text) {
    Folded result;
    result.text.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t start = offset;
        const char32_t c = decodeUTF8(text, offset);
        result.foldedStarts.push_back(result.text.size());
        result.sourceStarts.push_back(start);
        if (c == 0xFFFD && !(offset - start == 3 && text.substr(start, 3) == "\xEF\xBF\xBD"))
            result.text.append(text.substr(start, offset - start)); // a byte that is not UTF-8
        else
            appendFolding(result.text, c);
    }
    result.foldedStarts.push_back(result.text.size());
    result.sourceStarts.push_back(text.size());
    return result;
}

// Where a match may begin or end: the index of the source character there, or nothing.
std::optional<std::size_t> characterAt(const Folded& folded, std::size_t foldedOffset) {
    const auto found = std::lower_bound(folded.foldedStarts.begin(), folded.foldedStarts.end(), foldedOffset);
    if (found == folded.foldedStarts.end() || *found != foldedOffset) return std::nullopt;
    // Characters whose folding is empty share a start; take the first of them.
    return std::size_t(found - folded.foldedStarts.begin());
}

// Every match from `from` on in the source, in order, without overlaps.
template <class F>
void forEachMatch(std::string_view text, std::string_view target, StringCompareOptions options, F&& found) {
    if (target.empty()) return;
    if (!(options & StringCompareOptions::caseInsensitive)) {
        for (std::size_t at = text.find(target); at != std::string_view::npos;
             at = text.find(target, at + target.size()))
            if (!found(at, at + target.size())) return;
        return;
    }
    const Folded haystack = fold(text);
    const std::string needle = fold(target).text;
    if (needle.empty()) return;
    std::size_t from = 0;
    while (from <= haystack.text.size()) {
        const std::size_t at = std::string_view(haystack.text).find(needle, from);
        if (at == std::string_view::npos) return;
        const auto first = characterAt(haystack, at);
        const auto last = characterAt(haystack, at + needle.size());
        if (!first || !last) {
            from = at + 1;
            continue;
        }
        if (!found(haystack.sourceStarts[*first], haystack.sourceStarts[*last])) return;
        from = at + needle.size();
    }
}

} // namespace

std::optional<std::pair<std::size_t, std::size_t>> rangeOfText(std::string_view text, std::string_view target,
                                                               StringCompareOptions options) {
    std::optional<std::pair<std::size_t, std::size_t>> result;
    forEachMatch(text, target, options, [&](std::size_t begin, std::size_t end) {
        result.emplace(begin, end);
        return false;
    });
    return result;
}

std::string replacingOccurrences(std::string_view text, std::string_view target, std::string_view replacement,
                                 StringCompareOptions options) {
    std::string out;
    std::size_t copied = 0;
    forEachMatch(text, target, options, [&](std::size_t begin, std::size_t end) {
        out.append(text.substr(copied, begin - copied));
        out.append(replacement);
        copied = end;
        return true;
    });
    out.append(text.substr(copied));
    return out;
}

} // namespace foundation
