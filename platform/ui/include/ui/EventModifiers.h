#pragma once

#include <cstdint>

namespace ui {

// A set of modifier keys held during an event.
struct EventModifiers {
    std::uint8_t rawValue = 0;

    static const EventModifiers shift, control, option, command, capsLock, numericPad, function;
    static const EventModifiers none, all;

    constexpr bool contains(EventModifiers other) const {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr EventModifiers intersection(EventModifiers other) const {
        return {std::uint8_t(rawValue & other.rawValue)};
    }
    constexpr EventModifiers operator|(EventModifiers other) const {
        return {std::uint8_t(rawValue | other.rawValue)};
    }
    constexpr EventModifiers operator&(EventModifiers other) const { return intersection(other); }
    constexpr bool operator==(const EventModifiers&) const = default;
};

inline constexpr EventModifiers EventModifiers::shift{1};
inline constexpr EventModifiers EventModifiers::control{2};
inline constexpr EventModifiers EventModifiers::option{4};
inline constexpr EventModifiers EventModifiers::command{8};
inline constexpr EventModifiers EventModifiers::capsLock{16};
inline constexpr EventModifiers EventModifiers::numericPad{32};
inline constexpr EventModifiers EventModifiers::function{64};
inline constexpr EventModifiers EventModifiers::none{0};
inline constexpr EventModifiers EventModifiers::all{127};

} // namespace ui
