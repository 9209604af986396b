#pragma once

#include "ui/KeyPress.h"
#include "ui/Preference.h"
#include "ui/View.h"

#include <concepts>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Menu commands are described as views: a commands value is any type with a body, like a
// custom view, whose content is command groups of command items. Its state, onReceive and
// environment work as in any view. The groups hand themselves up as a preference, and the
// program's host (platform/desktop) turns them into its menus.
namespace ui {

template <class T>
concept Commands = CustomView<T>;

// The standard places of the menus, each with the items the host puts there by default.
enum class CommandGroupPlacement {
    appInfo,          // application menu: About
    appSettings,      // application menu: Settings…
    appTermination,   // application menu: Quit
    newItem,          // File: New Window
    undoRedo,         // Edit: Undo, Redo
    pasteboard,       // Edit: Cut, Copy, Paste, Delete, Select All
    windowSize,       // Window: Minimize, Zoom
    windowArrangement // Window: Bring All to Front
};

// One menu item as the menus show it: its title shown verbatim, its shortcut, and whether it
// can be chosen (the environment's enabled state where it stands).
struct CommandItemDescription {
    std::string title;
    std::optional<KeyboardShortcut> shortcut;
    bool enabled = true;
    std::function<void()> action;

    // Actions cannot be compared, so a description is always taken as new.
    friend bool operator==(const CommandItemDescription&, const CommandItemDescription&) { return false; }
};

struct CommandGroupDescription {
    enum class Position { before, after, replacing };
    CommandGroupPlacement placement = CommandGroupPlacement::newItem;
    Position position = Position::after;
    std::vector<CommandItemDescription> items;

    friend bool operator==(const CommandGroupDescription&, const CommandGroupDescription&) = default;
};

// Every group of the commands, in tree order.
struct CommandGroupsKey {
    using Value = std::vector<CommandGroupDescription>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

// The items a group's content hands up to the group, in tree order.
struct CommandItemsKey {
    using Value = std::vector<CommandItemDescription>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

} // namespace ui
