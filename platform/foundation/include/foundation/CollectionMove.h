#pragma once

#include "foundation/IndexSet.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace foundation {

// Moves the elements at `offsets` so that they land, in their order, before the element that
// stood at `destination` before the move (the size means the end). Offsets past the end are
// ignored, and a destination past the end counts as the end.
template <class T> void moveElements(std::vector<T>& items, const IndexSet& offsets, std::size_t destination) {
    destination = std::min(destination, items.size());
    std::vector<T> moved;
    std::vector<T> rest;
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (offsets.contains(i)) {
            moved.push_back(std::move(items[i]));
        } else {
            if (i < destination) ++insertAt;
            rest.push_back(std::move(items[i]));
        }
    }
    rest.insert(rest.begin() + std::ptrdiff_t(insertAt), std::make_move_iterator(moved.begin()),
                std::make_move_iterator(moved.end()));
    items = std::move(rest);
}

} // namespace foundation
