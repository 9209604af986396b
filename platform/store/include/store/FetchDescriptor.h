#pragma once

#include "store/Predicate.h"
#include "store/SortDescriptor.h"

#include <optional>
#include <vector>

namespace store {

// What to fetch: the models of type T matching the predicate (all without one), in the order
// of the sort descriptors. Ties, and a fetch without sort, keep the order of insertion.
template <class T> struct FetchDescriptor {
    std::optional<Predicate<T>> predicate = {};
    std::vector<SortDescriptor<T>> sortBy = {};
};

} // namespace store
