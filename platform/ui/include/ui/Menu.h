#pragma once

#include "ui/Text.h"
#include "ui/View.h"

#include <string>

namespace ui {

// A pull-down button that opens a menu of its content (buttons, toggles, pickers, dividers,
// nested menus) through the window's pop-up presenter. Inside another menu it is a submenu.
class Menu : public View {
public:
    Menu(Text title, View content);
    Menu(const char* title, View content)
        : Menu(Text(title), std::move(content)) {}
    Menu(Text title, std::string systemImage, View content);
    Menu(View content, View label);
};

namespace detail {
struct MenuViewModel {
    View label;
    View content;
};
const MenuViewModel* menuViewModel(const View& view);
} // namespace detail

} // namespace ui
