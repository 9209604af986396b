#pragma once

#include "foundation/CharacterSet.h"
#include "foundation/TextSearch.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text operations for forms and text views, on UTF-8 text.
namespace ViewKit {

// Strict Base64 (no whitespace, padding required) of UTF-8 text; nothing when the text is no
// Base64 or its bytes are not UTF-8.
std::optional<std::string> base64Decoded(std::string_view text);
// The UTF-8 bytes in Base64 without line breaks; nothing for text that is not UTF-8.
std::optional<std::string> base64Encoded(std::string_view text);

// "Yes", "true", "1", "  +007" are true; see foundation::boolValue.
bool boolValue(std::string_view text);

// The first character (a grapheme cluster) capitalised as a word is, the rest as it is:
// "ßa" is "Ssa", "9lives" stays.
std::string capitalizedFirst(std::string_view text);
void capitalizeFirst(std::string& text);

// Not empty once whitespace and newlines are trimmed from both ends. (hasContent, for any
// collection, is in SequenceExtensions.h.)
bool hasTrimmedContent(std::string_view text);

// Case-insensitive comparisons use full case folding with no locale ("Ü" matches "ü").
bool contains(std::string_view text, std::string_view other, bool caseSensitive);
std::string replacing(std::string_view text, std::string_view target, std::string_view replacement,
                      bool caseSensitive);
std::string replacing(std::string_view text, std::string_view target, std::string_view replacement,
                      foundation::StringCompareOptions options = {});
void replace(std::string& text, std::string_view target, std::string_view replacement,
             foundation::StringCompareOptions options = {});

// The pieces between any of the separators' characters (code points), empty pieces kept:
// split("a,,b;c", {",", ";"}) is "a", "", "b", "c".
std::vector<std::string> split(std::string_view text, const std::vector<std::string_view>& separators);

std::string trimmed(std::string_view text, const foundation::CharacterSet& set);

// Without the object replacement characters (U+FFFC) that mark attachments, then trimmed of
// spaces and tabs (newlines stay).
std::string removingAttachmentCharacters(std::string_view text);

// Percent-encoded for a URL path, with "&" as "%26" and "+" as "%2B" too; nothing for text
// that is not UTF-8. The second form leaves "+" as it is.
std::optional<std::string> urlEncoded(std::string_view text);
std::optional<std::string> urlEncodedKeepingPlus(std::string_view text);

} // namespace ViewKit
