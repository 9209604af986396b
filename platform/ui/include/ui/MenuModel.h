#pragma once

#include "ui/ButtonRole.h"
#include "ui/ColorScheme.h"
#include "ui/KeyPress.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class View;

// One entry of a pop-up menu, as the views that make it describe it: a command, a line between
// groups, a submenu, or a text that cannot be chosen.
struct MenuItem {
    enum class Kind { action, separator, submenu, header };

    // Every member has an initialiser, so a designated initialiser may leave any of them out.
    Kind kind = Kind::action;
    std::string title{};
    std::string systemImage{}; // empty: none
    std::optional<ButtonRole> role{};
    bool isEnabled = true;
    bool isChecked = false;
    std::optional<KeyboardShortcut> shortcut{};
    std::function<void()> action{};
    std::vector<MenuItem> children{}; // of a submenu

    static MenuItem separator() { return MenuItem{.kind = Kind::separator}; }
    // An entry titled (and iconed) as the label view reads: its text, a Label's title and image.
    static MenuItem labelled(const View& label);
};

// A menu ready to be shown: its entries in order.
struct MenuModel {
    std::vector<MenuItem> items;
    // The appearance of the view that opens the menu, which the menu takes on.
    ColorScheme colorScheme = ColorScheme::light;

    // The first entry titled `title`, looking into submenus too; null when there is none.
    const MenuItem* find(std::string_view title) const;
    // The titles of the top-level entries, separators as "-".
    std::vector<std::string> titles() const;

    // The entries `content` describes: buttons, toggles, pickers (one checked entry per
    // option), menus (submenus), dividers and texts, through groups and ForEach. Views that
    // are none of these are left out. Entries inside a disabled view are disabled.
    static MenuModel from(const View& content, bool enabled = true);
};

} // namespace ui
