#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

namespace ui::detail {

// The last few values worked out, by key, for work done over and over with the same few inputs
// (a frame fills with a handful of colours, again and again). Not thread-safe: keep one per
// thread. The oldest entry makes room for a new one.
template <class Key, class Value, std::size_t N> class RecentFew {
public:
    const Value* find(const Key& key) const {
        for (const auto& entry : entries_) {
            if (entry && entry->first == key) return &entry->second;
        }
        return nullptr;
    }
    const Value& insert(Key key, Value value) {
        auto& slot = entries_[next_];
        next_ = (next_ + 1) % N;
        slot.emplace(std::move(key), std::move(value));
        return slot->second;
    }

private:
    std::array<std::optional<std::pair<Key, Value>>, N> entries_;
    std::size_t next_ = 0;
};

} // namespace ui::detail
