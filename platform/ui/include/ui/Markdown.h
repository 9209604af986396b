#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A piece of inline markdown with its emphasis, in source order.
struct MarkdownRun {
    std::string text{};
    bool strong = false;   // **text** or __text__
    bool emphasis = false; // *text* or _text_
    bool code = false;     // `text`
    // The destination of [title](destination), as written.
    std::optional<std::string> link{};

    bool operator==(const MarkdownRun&) const = default;
};

// The inline markdown of a localised text: emphasis and strong emphasis by the usual delimiter
// rules, code spans, links and backslash escapes. Whitespace and line breaks are kept as they
// are; everything else is literal text. Neighbouring runs of equal attributes are merged.
std::vector<MarkdownRun> parseInlineMarkdown(std::string_view source);

} // namespace ui
