#pragma once

#include <string>

namespace quoril {

// The application's shared constants. Texts are localised once, at first use.
struct Utilities {
    // "New Goal".
    static const std::string& newItemTitle();
    // "Burn Accomplished Goals".
    static const std::string& burnCompletedItemsTitle();
    static constexpr double spacing = 16.0;
};

} // namespace quoril
