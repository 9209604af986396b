#pragma once

#include <cstdint>

namespace quoril {

// A set of pressed modifier keys, as the window host reports them.
struct ModifierKeys {
    enum Key : std::uint8_t { shift = 1, control = 2, option = 4, command = 8 };
    std::uint8_t keys = 0;

    constexpr bool contains(Key key) const { return (keys & key) != 0; }
    constexpr ModifierKeys intersection(ModifierKeys other) const {
        return {std::uint8_t(keys & other.keys)};
    }
    constexpr bool operator==(const ModifierKeys&) const = default;
};

} // namespace quoril
