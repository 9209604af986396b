#pragma once

#include "ui/View.h"

#include <functional>
#include <string>

namespace ui {

// A menu item inside a command group: its title is shown verbatim, and its shortcut and
// disabled state come from the modifiers around it (keyboardShortcut, disabled). It paints
// nothing; the menus show it.
class CommandItem : public View {
public:
    CommandItem(std::string title, std::function<void()> action);
};

} // namespace ui
