#include "painting/ShadowCache.h"

#include <QHash>

#include <algorithm>
#include <list>
#include <mutex>

namespace ui::detail::shadowCache {

namespace {

struct Entry {
    size_t hash;
    ShadowKey key;
    QImage shadow;

    std::size_t bytes() const { return std::size_t(key.coverage.size()) + std::size_t(shadow.sizeInBytes()); }
};

struct Cache {
    std::mutex mutex;
    std::list<Entry> entries; // most recently used first
    std::size_t bytes = 0;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

size_t hashOf(const ShadowKey& key) {
    return qHashMulti(0, key.coverage, key.coverageSize.width(), key.coverageSize.height(), key.wanted.x(),
                      key.wanted.y(), key.wanted.width(), key.wanted.height(), key.sigma, key.tint);
}

} // namespace

std::optional<QImage> find(const ShadowKey& key) {
    const size_t hash = hashOf(key);
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    const auto it =
        std::find_if(c.entries.begin(), c.entries.end(), [&](const Entry& e) { return e.hash == hash && e.key == key; });
    if (it == c.entries.end()) return std::nullopt;
    c.entries.splice(c.entries.begin(), c.entries, it);
    return it->shadow;
}

void insert(ShadowKey key, const QImage& shadow) {
    Entry entry{hashOf(key), std::move(key), shadow};
    const std::size_t bytes = entry.bytes();
    if (bytes > capacityInBytes / 4) return; // one huge shadow would push out all the others
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    c.entries.push_front(std::move(entry));
    c.bytes += bytes;
    while (c.bytes > capacityInBytes || c.entries.size() > capacityInEntries) {
        c.bytes -= c.entries.back().bytes();
        c.entries.pop_back();
    }
}

} // namespace ui::detail::shadowCache
