#include "ViewKit/StringLines.h"

#include "foundation/GraphemeClusters.h"

#include <algorithm>

namespace ViewKit {

namespace {

bool isLineBreak(std::string_view character) {
    return character == "\n" || character == "\r" || character == "\r\n";
}

} // namespace

std::size_t startOfLine(std::string_view text, std::size_t position) {
    const auto characters = foundation::graphemeClusters(text);
    if (characters.empty()) return 0;
    const std::size_t last = std::min(characters.size() - 1, position);
    for (std::size_t i = last; i > 0; --i)
        if (isLineBreak(characters[i - 1])) return i;
    return 0;
}

std::size_t startOfNextLine(std::string_view text, std::size_t position) {
    const auto characters = foundation::graphemeClusters(text);
    for (std::size_t j = position; j + 1 < characters.size(); ++j)
        if (isLineBreak(characters[j])) return j + 1;
    return startOfLine(text, position);
}

} // namespace ViewKit
