#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace updater {

// A version of dot-separated decimal integers ("1", "0.9.2", "0.10.0"), compared number by
// number, so 0.10.0 is newer than 0.9.2; missing numbers count as 0, so 1.2 equals 1.2.0.
// Numbers of any length compare correctly.
class Version {
public:
    // White space around the text is ignored; any other form gives nullopt.
    static std::optional<Version> parse(std::string_view text);

    // The text as parsed, without the surrounding white space.
    const std::string& text() const { return text_; }

    std::strong_ordering operator<=>(const Version& other) const;
    bool operator==(const Version& other) const { return (*this <=> other) == 0; }

private:
    Version() = default;
    std::string text_;
    std::vector<std::string> numbers_; // without leading zeros ("" for 0)
};

} // namespace updater
