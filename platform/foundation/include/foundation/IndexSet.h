#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <set>

namespace foundation {

// A set of positions in a collection, kept in ascending order.
class IndexSet {
public:
    using const_iterator = std::set<std::size_t>::const_iterator;

    IndexSet() = default;
    explicit IndexSet(std::size_t index) { indexes_.insert(index); }
    IndexSet(std::initializer_list<std::size_t> indexes)
        : indexes_(indexes) {}

    void insert(std::size_t index) { indexes_.insert(index); }
    void remove(std::size_t index) { indexes_.erase(index); }
    bool contains(std::size_t index) const { return indexes_.count(index) != 0; }
    std::size_t count() const { return indexes_.size(); }
    bool isEmpty() const { return indexes_.empty(); }
    std::optional<std::size_t> first() const {
        if (indexes_.empty()) return std::nullopt;
        return *indexes_.begin();
    }
    std::optional<std::size_t> last() const {
        if (indexes_.empty()) return std::nullopt;
        return *indexes_.rbegin();
    }

    const_iterator begin() const { return indexes_.begin(); }
    const_iterator end() const { return indexes_.end(); }

    bool operator==(const IndexSet&) const = default;

private:
    std::set<std::size_t> indexes_;
};

} // namespace foundation
