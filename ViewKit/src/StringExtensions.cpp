#include "ViewKit/StringExtensions.h"

#include "foundation/Base64.h"
#include "foundation/GraphemeClusters.h"
#include "foundation/PercentEncoding.h"
#include "foundation/StringBoolValue.h"
#include "foundation/TextCase.h"
#include "foundation/UTF8.h"

#include <cstdint>
#include <span>

namespace ViewKit {

using foundation::CharacterSet;
using foundation::StringCompareOptions;

std::optional<std::string> base64Decoded(std::string_view text) {
    auto bytes = foundation::dataFromBase64(text);
    if (!bytes) return std::nullopt;
    std::string decoded(bytes->begin(), bytes->end());
    if (!foundation::isValidUTF8(decoded)) return std::nullopt;
    return decoded;
}

std::optional<std::string> base64Encoded(std::string_view text) {
    if (!foundation::isValidUTF8(text)) return std::nullopt;
    return foundation::base64EncodedString(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool boolValue(std::string_view text) {
    return foundation::boolValue(text);
}

std::string capitalizedFirst(std::string_view text) {
    foundation::GraphemeClusterIterator clusters(text);
    const auto first = clusters.next();
    if (!first) return {};
    return foundation::capitalized(*first) + std::string(text.substr(first->size()));
}

void capitalizeFirst(std::string& text) {
    text = capitalizedFirst(text);
}

bool hasTrimmedContent(std::string_view text) {
    return !foundation::trimmingCharacters(text, CharacterSet::whitespacesAndNewlines()).empty();
}

bool contains(std::string_view text, std::string_view other, bool caseSensitive) {
    if (caseSensitive) return text.find(other) != std::string_view::npos;
    return foundation::rangeOfText(text, other, StringCompareOptions::caseInsensitive).has_value();
}

std::string replacing(std::string_view text, std::string_view target, std::string_view replacement,
                      bool caseSensitive) {
    return replacing(text, target, replacement,
                     caseSensitive ? StringCompareOptions::none : StringCompareOptions::caseInsensitive);
}

std::string replacing(std::string_view text, std::string_view target, std::string_view replacement,
                      StringCompareOptions options) {
    return foundation::replacingOccurrences(text, target, replacement, options);
}

void replace(std::string& text, std::string_view target, std::string_view replacement,
             StringCompareOptions options) {
    text = replacing(text, target, replacement, options);
}

std::vector<std::string> split(std::string_view text, const std::vector<std::string_view>& separators) {
    std::string characters;
    for (const auto separator : separators)
        characters += separator;
    std::vector<std::string> pieces;
    for (const auto piece : foundation::componentsSeparatedBy(text, CharacterSet::charactersIn(characters)))
        pieces.emplace_back(piece);
    return pieces;
}

std::string trimmed(std::string_view text, const CharacterSet& set) {
    return std::string(foundation::trimmingCharacters(text, set));
}

std::string removingAttachmentCharacters(std::string_view text) {
    const std::string withoutAttachments = foundation::replacingOccurrences(text, "\uFFFC", "");
    return trimmed(withoutAttachments, CharacterSet::whitespaces());
}

std::optional<std::string> urlEncodedKeepingPlus(std::string_view text) {
    auto encoded = foundation::addingPercentEncoding(text, CharacterSet::urlPathAllowed());
    if (!encoded) return std::nullopt;
    return foundation::replacingOccurrences(*encoded, "&", "%26");
}

std::optional<std::string> urlEncoded(std::string_view text) {
    auto encoded = urlEncodedKeepingPlus(text);
    if (!encoded) return std::nullopt;
    return foundation::replacingOccurrences(*encoded, "+", "%2B");
}

} // namespace ViewKit
