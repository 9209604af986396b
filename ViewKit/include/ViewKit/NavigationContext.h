#pragma once

#include "ViewKit/MainActor.h"

#include "reactive/AnyPublisher.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace ViewKit {

// A navigation path of items, in the order they were appended, that views observe. Every
// change announces itself once, before it happens. Main thread only.
template <class Item> class NavigationContext : public reactive::ObservableObject {
public:
    NavigationContext() { detail::requireMainActor("NavigationContext"); }

    const std::vector<Item>& path() const {
        detail::requireMainActor("NavigationContext::path");
        return path_.get();
    }
    void setPath(std::vector<Item> path) {
        detail::requireMainActor("NavigationContext::setPath");
        path_.set(std::move(path));
    }
    // The current path at once, then each new one.
    const reactive::AnyPublisher<std::vector<Item>>& pathPublisher() const { return path_.publisher(); }

    void append(Item item) {
        auto path = this->path();
        path.push_back(std::move(item));
        setPath(std::move(path));
    }
    // Drops the last `k` items; a `k` below 0 drops none and one beyond the count drops all.
    void removeLast(std::ptrdiff_t k) {
        auto path = this->path();
        const auto count = std::clamp<std::ptrdiff_t>(k, 0, std::ptrdiff_t(path.size()));
        path.erase(path.end() - count, path.end());
        setPath(std::move(path));
    }

private:
    reactive::Published<std::vector<Item>> path_{this, {}};
};

} // namespace ViewKit
