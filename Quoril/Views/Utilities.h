#pragma once

#include "ui/Color.h"

#include <string>

namespace quoril {

// The application's shared constants, each made once, at first use (texts are localised then).
struct Utilities {
    // The title editor's text colour of completed goals: the platform's red.
    static const ui::Color& accentColor();
    // "New Goal".
    static const std::string& newItemTitle();
    // "Burn Accomplished Goals".
    static const std::string& burnCompletedItemsTitle();
    static constexpr double spacing = 16.0;
};

} // namespace quoril
