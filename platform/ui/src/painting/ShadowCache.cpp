#include "painting/ShadowCache.h"

#include "painting/RecentlyUsed.h"

#include <QHash>

namespace ui::detail::shadowCache {

namespace {

struct ShadowBytes {
    std::size_t operator()(const ShadowKey& key, const QImage& shadow) const {
        return std::size_t(key.coverage.size()) + std::size_t(shadow.sizeInBytes());
    }
};

RecentlyUsed<ShadowKey, QImage, ShadowBytes>& cache() {
    static RecentlyUsed<ShadowKey, QImage, ShadowBytes> instance(capacityInBytes, capacityInEntries);
    return instance;
}

size_t hashOf(const ShadowKey& key) {
    return qHashMulti(0, key.coverage, key.coverageSize.width(), key.coverageSize.height(), key.wanted.x(),
                      key.wanted.y(), key.wanted.width(), key.wanted.height(), key.sigma, key.tint);
}

} // namespace

std::optional<QImage> find(const ShadowKey& key) {
    return cache().find(key, hashOf(key));
}

void insert(ShadowKey key, const QImage& shadow) {
    // One huge shadow would push out all the others.
    if (ShadowBytes{}(key, shadow) > capacityInBytes / 4) return;
    const std::size_t hash = hashOf(key);
    cache().insert(std::move(key), hash, shadow);
}

} // namespace ui::detail::shadowCache
