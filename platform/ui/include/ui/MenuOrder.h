#pragma once

namespace ui {

// How the menus inside a view order their items. Menus here always keep the order their items
// were declared in, so the value changes nothing they show; it is kept in the environment for
// the views and tests that read it.
enum class MenuOrder { automatic, priority, fixed };

struct MenuOrderKey {
    using Value = MenuOrder;
    static Value defaultValue() { return MenuOrder::automatic; }
};

} // namespace ui
