#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRgb>

#include <cstddef>
#include <optional>

namespace ui::detail {

// What a shadow's pixels depend on: the caster's coverage, the part of the shadow wanted
// (relative to that coverage), the blur and the colour.
struct ShadowKey {
    QByteArray coverage; // one byte per pixel, row after row
    QSize coverageSize;
    QRect wanted;
    double sigma = 0;
    QRgb tint = 0;

    bool operator==(const ShadowKey&) const = default;
};

// Recently cast shadows, so content that stays the same from frame to frame (a card scrolled
// by whole pixels, a button at rest) is blurred once. Bounded in bytes; the least recently used
// go first (a short list: looked up by a linear scan). Safe to use from any thread.
namespace shadowCache {

std::optional<QImage> find(const ShadowKey& key);
void insert(ShadowKey key, const QImage& shadow);
constexpr std::size_t capacityInBytes = 48 * 1024 * 1024;
constexpr std::size_t capacityInEntries = 256;

} // namespace shadowCache

} // namespace ui::detail
