#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <optional>

namespace ui::detail {

// A thread-safe store of values by key that drops the least recently used once it holds more than
// `maxBytes` or `maxEntries`. Keys are found by hash and then equality; a lookup moves its entry
// to the front. `Bytes` tells what a key and its value hold.
template <class Key, class Value, class Bytes> class RecentlyUsed {
public:
    RecentlyUsed(std::size_t maxBytes, std::size_t maxEntries)
        : maxBytes_(maxBytes)
        , maxEntries_(maxEntries) {}

    std::optional<Value> find(const Key& key, std::size_t hash) {
        std::lock_guard lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->hash != hash || !(it->key == key)) continue;
            entries_.splice(entries_.begin(), entries_, it);
            return it->value;
        }
        return std::nullopt;
    }

    void insert(Key key, std::size_t hash, Value value) {
        const std::size_t bytes = Bytes{}(key, value);
        std::lock_guard lock(mutex_);
        entries_.push_front(Entry{hash, std::move(key), std::move(value), bytes});
        bytes_ += bytes;
        while (bytes_ > maxBytes_ || entries_.size() > maxEntries_) {
            bytes_ -= entries_.back().bytes;
            entries_.pop_back();
        }
    }

private:
    struct Entry {
        std::size_t hash;
        Key key;
        Value value;
        std::size_t bytes;
    };

    const std::size_t maxBytes_;
    const std::size_t maxEntries_;
    std::mutex mutex_;
    std::list<Entry> entries_; // most recently used first
    std::size_t bytes_ = 0;
};

} // namespace ui::detail
