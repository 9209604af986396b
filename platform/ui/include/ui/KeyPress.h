#pragma once

#include "ui/EventModifiers.h"

#include <cstdint>
#include <string>

namespace ui {

// A key as the keyboard names it: a character, or one of the special keys below (which lie
// in Unicode's private use area, so they never clash with a typed character).
struct KeyEquivalent {
    char32_t character = 0;

    static const KeyEquivalent return_, escape, tab, delete_, deleteForward, space, upArrow, downArrow,
        leftArrow, rightArrow, home, end, pageUp, pageDown, clear;

    constexpr KeyEquivalent() = default;
    constexpr KeyEquivalent(char32_t c)
        : character(c) {}
    constexpr bool operator==(const KeyEquivalent&) const = default;
};

inline constexpr KeyEquivalent KeyEquivalent::return_{U'\r'};
inline constexpr KeyEquivalent KeyEquivalent::escape{U'\x1b'};
inline constexpr KeyEquivalent KeyEquivalent::tab{U'\t'};
inline constexpr KeyEquivalent KeyEquivalent::delete_{U'\x7f'};
inline constexpr KeyEquivalent KeyEquivalent::space{U' '};
inline constexpr KeyEquivalent KeyEquivalent::deleteForward{U'\xF728'};
inline constexpr KeyEquivalent KeyEquivalent::upArrow{U'\xF700'};
inline constexpr KeyEquivalent KeyEquivalent::downArrow{U'\xF701'};
inline constexpr KeyEquivalent KeyEquivalent::leftArrow{U'\xF702'};
inline constexpr KeyEquivalent KeyEquivalent::rightArrow{U'\xF703'};
inline constexpr KeyEquivalent KeyEquivalent::home{U'\xF729'};
inline constexpr KeyEquivalent KeyEquivalent::end{U'\xF72B'};
inline constexpr KeyEquivalent KeyEquivalent::pageUp{U'\xF72C'};
inline constexpr KeyEquivalent KeyEquivalent::pageDown{U'\xF72D'};
inline constexpr KeyEquivalent KeyEquivalent::clear{U'\xF739'};

// One key event as the views below the keyboard focus see it.
struct KeyPress {
    enum class Phase : std::uint8_t { down = 1, repeat = 2, up = 4 };
    enum class Result { handled, ignored };

    KeyEquivalent key;
    std::string characters; // what the key types, UTF-8; empty for special keys
    EventModifiers modifiers;
    Phase phase = Phase::down;
};

// A key with the modifiers that must be held with it.
struct KeyboardShortcut {
    KeyEquivalent key;
    EventModifiers modifiers = EventModifiers::command;

    static const KeyboardShortcut defaultAction, cancelAction;
    bool operator==(const KeyboardShortcut&) const = default;
};

inline const KeyboardShortcut KeyboardShortcut::defaultAction{KeyEquivalent::return_, EventModifiers::none};
inline const KeyboardShortcut KeyboardShortcut::cancelAction{KeyEquivalent::escape, EventModifiers::none};

} // namespace ui
