#pragma once

#include "App/ItemSizeElement.h"

#include <functional>
#include <vector>

namespace quoril {

// The sizes the goal rows report, in the order the view tree delivers them (duplicates kept).
struct ItemRowSizesKey {
    using Value = std::vector<ItemSizeElement>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& nextValue) {
        auto next = nextValue();
        value.insert(value.end(), next.begin(), next.end());
    }
};

} // namespace quoril
