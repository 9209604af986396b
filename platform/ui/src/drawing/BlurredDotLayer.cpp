#include "BlurredDotLayer.h"

#include "ui/Blur.h"
#include "ui/OffscreenLayer.h"
#include "ui/Path.h"
#include "ui/Renderer.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace ui::detail {

namespace {

constexpr std::size_t maxDots = 4;
// Below this many device pixels of blur a sub-pixel shift of a cached disc shows.
constexpr double minimumSigma = 2;
constexpr std::size_t cacheLimit = 1024;
// Empty pixels round a cached disc, for the cubic's reach past the sample it starts from.
constexpr int rim = 3;

bool isAxisAligned(const QTransform& t) {
    return t.type() <= QTransform::TxScale && t.m11() > 0 && t.m22() > 0;
}

bool isEllipse(const QPainterPath& outline) {
    const QRectF r = outline.boundingRect();
    const QPainterPath ellipse = Path::ellipseIn(graphics::CGRect::fromQRectF(r)).toQPainterPath();
    if (ellipse.elementCount() != outline.elementCount()) return false;
    const double tolerance = 1e-6 * std::max({1.0, r.width(), r.height()});
    for (int i = 0; i < ellipse.elementCount(); ++i) {
        const auto a = ellipse.elementAt(i), b = outline.elementAt(i);
        if (a.type != b.type || std::abs(a.x - b.x) > tolerance || std::abs(a.y - b.y) > tolerance) return false;
    }
    return true;
}

// A blurred filled ellipse in one colour, its centre at the image's centre, blurred as the
// offscreen passes blur it. Sizes are kept to a thirty-second of the blur, which moves an edge by
// far less than a level.
struct Disc {
    QImage pixels; // premultiplied
    QPointF center;
};

const Disc& blurredDisc(QSizeF size, double sigma, QRgb color) {
    const double step = sigma / 64;
    using Key = std::tuple<long long, long long, std::uint64_t, QRgb>;
    const Key key{std::llround(size.width() / step), std::llround(size.height() / step),
                  std::bit_cast<std::uint64_t>(sigma), color};
    thread_local std::map<Key, Disc> cache;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= cacheLimit) cache.clear();

    const double w = double(std::get<0>(key)) * step, h = double(std::get<1>(key)) * step;
    const int reach = blurReach(sigma) + rim;
    Disc disc;
    disc.pixels = QImage(int(std::ceil(w)) + 2 * reach, int(std::ceil(h)) + 2 * reach,
                         QImage::Format_ARGB32_Premultiplied);
    disc.pixels.fill(Qt::transparent);
    disc.center = QPointF(disc.pixels.width() / 2.0, disc.pixels.height() / 2.0);
    {
        QPainter painter(&disc.pixels);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(Path::ellipseIn(graphics::CGRect::fromQRectF(
                                             QRectF(disc.center.x() - w / 2, disc.center.y() - h / 2, w, h)))
                             .toQPainterPath(),
                         QColor::fromRgba(color));
    }
    gaussianBlur(disc.pixels, sigma);
    // Empty at the rim, beyond the blur's reach as the offscreen passes cut it, so sampling stops there.
    for (int y = 0; y < disc.pixels.height(); ++y)
        for (int x = 0; x < disc.pixels.width(); ++x)
            if (std::min({x, y, disc.pixels.width() - 1 - x, disc.pixels.height() - 1 - y}) < rim)
                disc.pixels.setPixel(x, y, 0);
    return cache.emplace(key, std::move(disc)).first->second;
}

// Catmull-Rom weights for the samples before, at, after and two after a point `t` of the way
// from one sample to the next: far closer than a straight line to a smooth blur between them.
std::array<float, 4> cubicWeights(float t) {
    const float t2 = t * t, t3 = t2 * t;
    return {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2, (-3 * t3 + 4 * t2 + t) / 2, (t3 - t2) / 2};
}

// Lays premultiplied `source` at `opacity` over premultiplied `pixels`, its (0, 0) at `origin`
// (fractional: sampled between pixels). The source is empty within `rim` of its edges.
void compositeShifted(QImage& pixels, const QImage& source, QPointF origin, double opacity) {
    const int baseX = int(std::floor(origin.x())), baseY = int(std::floor(origin.y()));
    // Pixel baseX + k takes the source from k − fx: 1 − fx of the way from sample k − 1 to k.
    const auto wx = cubicWeights(float(1 - (origin.x() - baseX)));
    const auto wy = cubicWeights(float(1 - (origin.y() - baseY)));
    const int sw = source.width(), sh = source.height();
    // Along the rows first, for every row of the source and every column that can be reached.
    thread_local std::vector<float> across;
    across.assign(std::size_t(sw) * sh * 4, 0);
    for (int r = 0; r < sh; ++r) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(r));
        float* out = across.data() + std::size_t(r) * sw * 4;
        for (int k = rim - 1; k <= sw - rim; ++k) {
            const QRgb a = line[k - 2], b = line[k - 1], c = line[k], d = line[k + 1];
            if ((a | b | c | d) == 0) continue;
            for (int channel = 0; channel < 4; ++channel) {
                const int shift = 8 * channel;
                out[k * 4 + channel] = wx[0] * float((a >> shift) & 0xff) + wx[1] * float((b >> shift) & 0xff) +
                                       wx[2] * float((c >> shift) & 0xff) + wx[3] * float((d >> shift) & 0xff);
            }
        }
    }
    const auto o = float(opacity);
    const int top = std::max(rim - 1, -baseY), bottom = std::min(sh - rim, pixels.height() - 1 - baseY);
    const int left = std::max(rim - 1, -baseX), right = std::min(sw - rim, pixels.width() - 1 - baseX);
    for (int m = top; m <= bottom; ++m) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(baseY + m));
        const float* rows[4];
        for (int j = 0; j < 4; ++j)
            rows[j] = across.data() + std::size_t(m - 2 + j) * sw * 4;
        for (int k = left; k <= right; ++k) {
            float v[4];
            for (int channel = 0; channel < 4; ++channel)
                v[channel] = (wy[0] * rows[0][k * 4 + channel] + wy[1] * rows[1][k * 4 + channel] +
                              wy[2] * rows[2][k * 4 + channel] + wy[3] * rows[3][k * 4 + channel]) *
                             o;
            // The cubic may overshoot a little: kept a premultiplied colour.
            const float alpha = std::clamp(v[3], 0.0f, 255.0f);
            if (alpha <= 0) continue;
            const float keep = 1 - alpha / 255;
            QRgb& dst = line[baseX + k];
            std::uint32_t mixed = 0;
            for (int channel = 0; channel < 4; ++channel) {
                const int shift = 8 * channel;
                const float value = channel == 3 ? alpha : std::clamp(v[channel], 0.0f, alpha);
                mixed |= std::uint32_t(value + float((dst >> shift) & 0xff) * keep + 0.5f) << shift;
            }
            dst = mixed;
        }
    }
}

double stretch(const QTransform& t) {
    return std::sqrt(std::abs(t.m11() * t.m22()));
}

} // namespace

void BlurredDotLayer::fill(const QPainterPath& outline, const QBrush& brush, const GraphicsContext::State& state) {
    if (!qualifies_) return;
    const bool plain = brush.style() == Qt::SolidPattern && state.blendMode == BlendMode::normal && !state.clip && state.filters.size() <= 1 &&
                       (state.filters.empty() || !state.filters.front().color);
    const QTransform transform = state.transform.toQTransform();
    if (!plain || dots_.size() == maxDots || (!dots_.empty() && brush.color() != color_) ||
        !isAxisAligned(transform) || !isEllipse(outline)) {
        qualifies_ = false;
        return;
    }
    color_ = brush.color();
    dots_.push_back({outline, transform, state.opacity, state.filters.empty() ? 0 : state.filters.front().blurRadius});
}

bool BlurredDotLayer::qualifies() const {
    return qualifies_ && std::any_of(dots_.begin(), dots_.end(), [](const Dot& d) { return d.blurRadius > 0; });
}

DisplayList::Draw BlurredDotLayer::draw(std::shared_ptr<const DisplayList> exact, double opacity) const {
    QRectF bounds;
    double reach = 1;
    for (const Dot& dot : dots_) {
        bounds = bounds.united(dot.transform.mapRect(dot.outline.boundingRect()));
        reach = std::max(reach, 3 * dot.blurRadius + 1);
    }
    bounds.adjust(-reach, -reach, reach, reach);
    return {bounds, [dots = dots_, color = color_, exact = std::move(exact), opacity, bounds, reach](QPainter& painter) {
                const QTransform toDevice = OffscreenLayer::surfaceTransform(painter);
                const double scale = stretch(toDevice);
                bool cached = isAxisAligned(toDevice);
                for (const Dot& dot : dots)
                    cached = cached && (dot.blurRadius == 0 || blurSigma(dot.blurRadius, scale) >= minimumSigma);
                if (!cached) {
                    DisplayList list;
                    DisplayList::LayerStyle style;
                    style.opacity = opacity;
                    list.layer(std::move(style)) = *exact;
                    render(list, painter);
                    return;
                }
                OffscreenLayer layer(painter, bounds.adjusted(reach, reach, -reach, -reach), reach);
                if (layer.isEmpty()) return;
                QPainter& inner = layer.painter();
                for (const Dot& dot : dots) {
                    if (dot.blurRadius > 0) continue;
                    inner.save();
                    inner.setTransform(dot.transform, true);
                    inner.setOpacity(dot.opacity);
                    inner.fillPath(dot.outline, color);
                    inner.restore();
                }
                // One colour throughout, so the blurred ones may go over all the sharp ones.
                const QPoint corner = layer.deviceRect().topLeft();
                QImage& pixels = layer.pixels();
                for (const Dot& dot : dots) {
                    if (dot.blurRadius == 0) continue;
                    const QRectF onDevice = (dot.transform * toDevice).mapRect(dot.outline.boundingRect());
                    const Disc& disc =
                        blurredDisc(onDevice.size(), blurSigma(dot.blurRadius, scale), qPremultiply(color.rgba()));
                    compositeShifted(pixels, disc.pixels, onDevice.center() - disc.center - QPointF(corner),
                                     dot.opacity);
                }
                layer.composite(QPainter::CompositionMode_SourceOver, opacity);
            }};
}

} // namespace ui::detail
