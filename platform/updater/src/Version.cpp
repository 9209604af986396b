#include "updater/Version.h"

#include <algorithm>

namespace updater {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Numbers without leading zeros compare by length first, then digit by digit.
std::strong_ordering compareNumbers(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() <=> b.size();
    const int c = a.compare(b);
    return c < 0   ? std::strong_ordering::less
           : c > 0 ? std::strong_ordering::greater
                   : std::strong_ordering::equal;
}

} // namespace

std::optional<Version> Version::parse(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    Version version;
    version.text_ = std::string(text);
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        std::string_view number = text.substr(start, dot - start);
        if (number.empty() ||
            !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        while (!number.empty() && number.front() == '0')
            number.remove_prefix(1);
        version.numbers_.emplace_back(number);
        if (dot == text.size()) break;
        start = dot + 1;
    }
    return version;
}

std::strong_ordering Version::operator<=>(const Version& other) const {
    const std::size_t count = std::max(numbers_.size(), other.numbers_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view a = i < numbers_.size() ? std::string_view(numbers_[i]) : std::string_view();
        const std::string_view b =
            i < other.numbers_.size() ? std::string_view(other.numbers_[i]) : std::string_view();
        if (const auto order = compareNumbers(a, b); order != 0) return order;
    }
    return std::strong_ordering::equal;
}

} // namespace updater
