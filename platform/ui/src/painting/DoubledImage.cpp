#include "painting/DoubledImage.h"

#include <QPaintEngine>
#include <QRegion>

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

inline std::uint32_t byteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xff00ffu) * a;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return x | t;
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
    // rows are blended first, channels 0 and 2 and channels 1 and 3 in 16 bits each.
    std::vector<std::uint32_t> low(std::size_t(w) + 2), high(std::size_t(w) + 2);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int j = (y - origin.y()) >> 1;
        const int jn = std::clamp((y - origin.y()) & 1 ? j + 1 : j - 1, 0, h - 1);
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(j));
        const auto* near = reinterpret_cast<const std::uint32_t*>(image.constScanLine(jn));
        const int first = (area.left() - origin.x()) >> 1, last = (area.right() - origin.x()) >> 1;
        const int from = std::max(first - 1, 0), to = std::min(last + 1, w - 1);
        int lit = to + 1, litLast = from - 1; // the stretch of the rows that is not clear
        for (int i = from; i <= to; ++i) {
            low[i + 1] = 3 * (row[i] & 0xff00ffu) + (near[i] & 0xff00ffu);
            high[i + 1] = 3 * ((row[i] >> 8) & 0xff00ffu) + ((near[i] >> 8) & 0xff00ffu);
            if (low[i + 1] | high[i + 1]) lit = std::min(lit, i), litLast = i;
        }
        if (lit > litLast) continue;
        low[from] = low[from + 1], high[from] = high[from + 1];
        low[to + 2] = low[to + 1], high[to + 2] = high[to + 1];
        auto* out = reinterpret_cast<std::uint32_t*>(device->scanLine(y));
        // A device pixel reads its own picture pixel and one beside it.
        const int left = std::max(area.left(), origin.x() + 2 * lit - 1);
        const int right = std::min(area.right(), origin.x() + 2 * litLast + 2);
        for (int x = left; x <= right; ++x) {
            const int dx = x - origin.x();
            const int i = (dx >> 1) + 1, in = dx & 1 ? i + 1 : i - 1;
            if ((low[i] | high[i] | low[in] | high[in]) == 0) continue;
            const std::uint32_t source = (((3 * low[i] + low[in] + 0x00080008u) >> 4) & 0xff00ffu) |
                                         (((3 * high[i] + high[in] + 0x00080008u) << 4) & 0xff00ff00u);
            const std::uint32_t alpha = source >> 24;
            out[x] = alpha == 255 ? source : source + byteMul(out[x], 255 - alpha);
        }
    }
    return true;
}

} // namespace ui::detail
