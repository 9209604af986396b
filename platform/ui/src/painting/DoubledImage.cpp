#include "painting/DoubledImage.h"

#include <QPaintEngine>
#include <QRegion>

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ui::detail {

namespace {

// The device pixels the painter may change, or an empty rectangle when it is not that plain.
QRect plainTarget(QPainter& painter, QImage*& device) {
    if (!painter.isActive() || !painter.device() || painter.device()->devType() != QInternal::Image ||
        painter.paintEngine()->type() != QPaintEngine::Raster ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1)
        return {};
    device = static_cast<QImage*>(painter.device());
    // A shared image would be copied by a write, away from what the painter paints on.
    if (device->format() != QImage::Format_ARGB32_Premultiplied || !device->isDetached()) return {};
    QRect target = device->rect();
    if (!painter.hasClipping()) return target;
    const QRegion region = painter.clipRegion();
    const QRectF clip = painter.deviceTransform().mapRect(painter.clipBoundingRect());
    const QRect pixels = clip.toAlignedRect();
    if (region.rectCount() != 1 || painter.deviceTransform().type() > QTransform::TxScale ||
        std::abs(clip.left() - pixels.left()) > 1e-6 || std::abs(clip.top() - pixels.top()) > 1e-6 ||
        std::abs(clip.right() - pixels.left() - pixels.width()) > 1e-6 ||
        std::abs(clip.bottom() - pixels.top() - pixels.height()) > 1e-6)
        return {};
    return target & pixels;
}

// A pixel's four channels in 16 bits each.
inline std::uint64_t spread(std::uint32_t p) {
    return (p & 0xffu) | (std::uint64_t(p & 0xff00u) << 8) | (std::uint64_t(p & 0xff0000u) << 16) |
           (std::uint64_t(p & 0xff000000u) << 24);
}

// Two device pixels, each from its picture pixel's rows blended (weight 3) and the neighbour's
// (weight 1), laid over the two at `out`.
inline void blendPair(std::uint32_t* out, std::uint64_t own0, std::uint64_t beside0, std::uint64_t own1,
                      std::uint64_t beside1, bool both) {
    const __m128i own = _mm_set_epi64x(std::int64_t(own1), std::int64_t(own0));
    const __m128i beside = _mm_set_epi64x(std::int64_t(beside1), std::int64_t(beside0));
    const __m128i source = _mm_srli_epi16(
        _mm_add_epi16(_mm_add_epi16(_mm_add_epi16(_mm_add_epi16(own, own), own), beside), _mm_set1_epi16(8)),
        4);
    const __m128i zero = _mm_setzero_si128();
    const __m128i under =
        both ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(out)) : _mm_cvtsi32_si128(int(*out));
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xff), 0xff);
    __m128i kept = _mm_add_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(under, zero), _mm_sub_epi16(_mm_set1_epi16(255), alpha)),
        _mm_set1_epi16(128));
    kept = _mm_srli_epi16(_mm_add_epi16(kept, _mm_srli_epi16(kept, 8)), 8); // / 255, rounded
    const __m128i result = _mm_add_epi16(source, kept);
    const __m128i packed = _mm_packus_epi16(result, result);
    if (both)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
    else
        *out = std::uint32_t(_mm_cvtsi128_si32(packed));
}

} // namespace

bool drawDoubled(QPainter& painter, QPoint origin, const QImage& image) {
    QImage* device = nullptr;
    const QRect target = plainTarget(painter, device);
    if (target.isEmpty() || image.format() != QImage::Format_ARGB32_Premultiplied) return false;
    const QRect area = QRect(origin, image.size() * 2) & target;
    if (area.isEmpty()) return true;
    const int w = image.width(), h = image.height();
    // Device pixel 2i sits a quarter pixel before the picture's pixel i, 2i + 1 a quarter after:
    // weights 3 : 1 with the neighbour on that side in both directions, the edges repeated. The
    // rows are blended first.
    std::vector<std::uint64_t> rows(std::size_t(w) + 2);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int j = (y - origin.y()) >> 1;
        const int jn = std::clamp((y - origin.y()) & 1 ? j + 1 : j - 1, 0, h - 1);
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(j));
        const auto* near = reinterpret_cast<const std::uint32_t*>(image.constScanLine(jn));
        const int first = (area.left() - origin.x()) >> 1, last = (area.right() - origin.x()) >> 1;
        const int from = std::max(first - 1, 0), to = std::min(last + 1, w - 1);
        int lit = to + 1, litLast = from - 1; // the stretch of the rows that is not clear
        for (int i = from; i <= to; ++i) {
            if ((row[i] | near[i]) == 0) {
                rows[i + 1] = 0;
                continue;
            }
            rows[i + 1] = 3 * spread(row[i]) + spread(near[i]);
            lit = std::min(lit, i), litLast = i;
        }
        if (lit > litLast) continue;
        rows[from] = rows[from + 1];
        rows[to + 2] = rows[to + 1];
        auto* out = reinterpret_cast<std::uint32_t*>(device->scanLine(y));
        // A device pixel reads its own picture pixel and one beside it.
        const int left = std::max(area.left(), origin.x() + 2 * lit - 1);
        const int right = std::min(area.right(), origin.x() + 2 * litLast + 2);
        const auto pixel = [&](int x, std::uint64_t& own, std::uint64_t& beside) {
            const int dx = x - origin.x();
            const int i = (dx >> 1) + 1;
            own = rows[i];
            beside = rows[dx & 1 ? i + 1 : i - 1];
        };
        for (int x = left; x <= right; x += 2) {
            std::uint64_t own0, beside0, own1 = 0, beside1 = 0;
            pixel(x, own0, beside0);
            const bool both = x + 1 <= right;
            if (both) pixel(x + 1, own1, beside1);
            if ((own0 | beside0 | own1 | beside1) == 0) continue;
            blendPair(out + x, own0, beside0, own1, beside1, both);
        }
    }
    return true;
}

} // namespace ui::detail
