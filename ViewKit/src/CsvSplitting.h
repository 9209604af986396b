#pragma once

#include <string>
#include <string_view>
#include <vector>

// The splitting rule of CsvParser, on text already checked.
namespace ViewKit::detail {

using CsvRows = std::vector<std::vector<std::string>>;

// The separator's composed form. std::invalid_argument unless `separator` is exactly one
// grapheme cluster of UTF-8 text.
std::string csvSeparator(std::string_view separator);

// `text` must be UTF-8 and `separator` come from csvSeparator. Lines of ASCII text split at a
// one-byte separator byte by byte; `byClusters` sends every line through the general rule
// instead (for checking that both agree).
CsvRows splitCsv(std::string_view text, const std::string& separator, bool byClusters = false);

} // namespace ViewKit::detail
