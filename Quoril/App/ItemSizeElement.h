#pragma once

#include "graphics/CGSize.h"

#include <cstdint>

namespace quoril {

// What a goal row reports of itself: its position in the list and its laid-out size.
struct ItemSizeElement {
    std::int64_t index = 0;
    graphics::CGSize size;

    bool operator==(const ItemSizeElement&) const = default;
};

} // namespace quoril
