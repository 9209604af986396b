#include "updater/Version.h"

#include <algorithm>

namespace updater {

namespace {

constexpr std::string_view whiteSpace = " \t\n\r";

// Numbers without leading zeros compare by length first, then digit by digit.
std::strong_ordering compareNumbers(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() <=> b.size();
    return a.compare(b) <=> 0;
}

} // namespace

std::optional<Version> Version::parse(std::string_view text) {
    const auto first = text.find_first_not_of(whiteSpace);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(whiteSpace) - first + 1);
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
