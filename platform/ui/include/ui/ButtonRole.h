#pragma once

namespace ui {

// What a button does, for how it is drawn and where a menu or dialog puts it.
enum class ButtonRole { destructive, cancel };

} // namespace ui
