#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A 128-bit universally unique identifier. A default-constructed UUID is a fresh random one
// (version 4), as the platform's `UUID()` is; construct from bytes for a fixed value.
class UUID {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // A new random identifier. Safe on any thread, and after fork.
    UUID();
    constexpr explicit UUID(const Bytes& bytes)
        : bytes_(bytes) {}

    // The 8-4-4-4-12 hexadecimal form in either case, nothing more: no braces, no whitespace,
    // no missing or extra hyphens.
    static std::optional<UUID> fromString(std::string_view text);

    // "E621E1F8-C36C-495A-93FC-0C247A3E6E5F": 36 characters, upper-case.
    std::string uuidString() const;
    constexpr const Bytes& bytes() const { return bytes_; }

    // Byte order, which is also the order of the upper-case strings.
    constexpr bool operator==(const UUID&) const = default;
    constexpr auto operator<=>(const UUID&) const = default;

private:
    Bytes bytes_;
};

} // namespace foundation

template <> struct std::hash<foundation::UUID> {
    std::size_t operator()(const foundation::UUID& uuid) const noexcept;
};
