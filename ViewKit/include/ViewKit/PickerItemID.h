#pragma once

namespace ViewKit {

// The id a picker knows an item by: its `id()` when it has one, else its `id` field.
template <class Item> auto pickerItemID(const Item& item) {
    if constexpr (requires { item.id(); })
        return item.id();
    else
        return item.id;
}

} // namespace ViewKit
