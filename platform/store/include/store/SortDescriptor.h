#pragma once

#include <string>

namespace store {

enum class SortOrder { forward, reverse };

// Orders by one attribute; absent values come first in forward order.
template <class T> struct SortDescriptor {
    std::string keyPath;
    SortOrder order = SortOrder::forward;

    SortDescriptor(std::string keyPath, SortOrder order = SortOrder::forward)
        : keyPath(std::move(keyPath))
        , order(order) {}
};

} // namespace store
