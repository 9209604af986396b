#include "BlurredDotLayer.h"

#include "ui/Blur.h"
#include "ui/OffscreenLayer.h"
#include "ui/Path.h"
#include "ui/Renderer.h"

#include <QPainter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ui::detail {

namespace {

constexpr std::size_t maxDots = 4;
// Below this many device pixels of blur a sub-pixel shift of a cached disc shows.
constexpr double minimumSigma = 2;
constexpr std::size_t cacheLimit = 256; // about one frame of a large vanish
// Empty pixels round a cached disc, so sampling between pixels stops there.
constexpr int rim = 1;

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
        if (a.type != b.type || std::abs(a.x - b.x) > tolerance || std::abs(a.y - b.y) > tolerance)
            return false;
    }
    return true;
}

// Fills `outline` under `transform` a band of device rows at a time. The painter hands a fill of
// more than about a hundred spans to other threads, which for one dot costs many times the fill
// itself; a band stays under that, and clipping to whole rows leaves every pixel as it was.
void fillInBands(QPainter& painter, const QTransform& transform, const QPainterPath& outline,
                 const QColor& color) {
    constexpr int band = 16;
    const QRect rows = transform.mapRect(outline.boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (rows.height() <= band) {
        painter.setTransform(transform);
        painter.fillPath(outline, color);
        return;
    }
    for (int y = rows.top(); y < rows.top() + rows.height(); y += band) {
        painter.setTransform(QTransform());
        painter.setClipRect(QRect(rows.left(), y, rows.width(), band));
        painter.setTransform(transform);
        painter.fillPath(outline, color);
    }
    painter.setClipping(false);
}

// A blurred filled ellipse as coverage from 0 to 1, its centre at the middle of the grid.
// Sizes are kept to a thirty-second of the blur, which moves an edge by less than a level.
struct Disc {
    std::vector<float> coverage; // rows of `width`, empty within `rim` of the edges
    int width = 0, height = 0;
    QPointF center;
};

const Disc& blurredDisc(QSizeF size, double sigma) {
    const double step = sigma / 32;
    using Key = std::tuple<long long, long long, std::uint64_t>;
    const Key key{std::llround(size.width() / step), std::llround(size.height() / step),
                  std::bit_cast<std::uint64_t>(sigma)};
    thread_local std::map<Key, Disc> cache;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= cacheLimit) cache.clear();

    const double w = double(std::get<0>(key)) * step, h = double(std::get<1>(key)) * step;
    const int reach = blurReach(sigma) + rim;
    QImage image(int(std::ceil(w)) + 2 * reach, int(std::ceil(h)) + 2 * reach, QImage::Format_Alpha8);
    image.fill(0);
    Disc disc;
    disc.width = image.width();
    disc.height = image.height();
    disc.center = QPointF(disc.width / 2.0, disc.height / 2.0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        fillInBands(painter, QTransform(),
                    Path::ellipseIn(graphics::CGRect::fromQRectF(
                                        QRectF(disc.center.x() - w / 2, disc.center.y() - h / 2, w, h)))
                        .toQPainterPath(),
                    Qt::black);
    }
    gaussianBlur(image, sigma);
    disc.coverage.assign(std::size_t(disc.width) * disc.height, 0);
    // The rim stays empty: beyond the blur's reach, as the offscreen passes cut it.
    for (int y = rim; y < disc.height - rim; ++y)
        for (int x = rim; x < disc.width - rim; ++x)
            disc.coverage[std::size_t(y) * disc.width + x] = float(image.constScanLine(y)[x]) / 255;
    return cache.emplace(key, std::move(disc)).first->second;
}

// Lays premultiplied `color` (its channels in memory order) at coverage `c` over `dst`.
inline QRgb over(QRgb dst, const float* channels, float alpha, float c) {
    const float keep = 1 - alpha * c;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i wide = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(dst)), zero), zero);
    const __m128 mixed = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_loadu_ps(channels), _mm_set1_ps(c)),
                                               _mm_mul_ps(_mm_cvtepi32_ps(wide), _mm_set1_ps(keep))),
                                    _mm_set1_ps(0.5f));
    const __m128i whole = _mm_cvttps_epi32(mixed);
    return QRgb(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(whole, zero), zero)));
#else
    std::uint32_t mixed = 0;
    for (int channel = 0; channel < 4; ++channel) {
        const int shift = 8 * channel;
        mixed |= std::uint32_t(channels[channel] * c + float((dst >> shift) & 0xff) * keep + 0.5f) << shift;
    }
    return mixed;
#endif
}

struct Ink {
    float channels[4]; // premultiplied, in the order of a pixel's bytes
    float alpha;
    explicit Ink(QRgb premultiplied)
        : channels{float(qBlue(premultiplied)), float(qGreen(premultiplied)), float(qRed(premultiplied)),
                   float(qAlpha(premultiplied))}
        , alpha(channels[3] / 255) {}
};

// Lays `disc` in `ink` at `opacity` over the `area` at the corner of premultiplied `pixels`, its
// (0, 0) at `origin` (fractional: sampled between pixels).
void compositeShifted(QImage& pixels, QSize area, const Disc& disc, QPointF origin, const Ink& ink,
                      double opacity) {
    const int baseX = int(std::floor(origin.x())), baseY = int(std::floor(origin.y()));
    // Pixel baseX + k takes the disc from k − fx: between samples k − 1 and k.
    const auto fx = float(origin.x() - baseX), fy = float(origin.y() - baseY), o = float(opacity);
    const float w00 = (1 - fx) * (1 - fy) * o, w10 = fx * (1 - fy) * o, w01 = (1 - fx) * fy * o,
                w11 = fx * fy * o;
    const int top = std::max(rim, -baseY), bottom = std::min(disc.height - rim, area.height() - baseY);
    const int left = std::max(rim, -baseX), right = std::min(disc.width - rim, area.width() - baseX);
    for (int m = top; m < bottom; ++m) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(baseY + m)) + baseX;
        const float* above = disc.coverage.data() + std::size_t(m - 1) * disc.width;
        const float* here = above + disc.width;
        for (int k = left; k < right; ++k) {
            const float c = w11 * above[k - 1] + w01 * above[k] + w10 * here[k - 1] + w00 * here[k];
            if (c < 1.0f / 1024) continue;
            line[k] = over(line[k], ink.channels, ink.alpha, c);
        }
    }
}

// Where a dot layer is put together before it is drawn: one surface per thread that stays painted
// on, so a dot costs no image or painter of its own.
class Scratch {
public:
    // The surface with `size` at its corner cleared, and its painter.
    QImage& prepare(QSize size) {
        if (size.width() > image_.width() || size.height() > image_.height()) {
            // The first surface has no painter yet.
            if (painter_.isActive()) painter_.end();
            image_ = QImage(std::max(size.width(), image_.width()), std::max(size.height(), image_.height()),
                            QImage::Format_ARGB32_Premultiplied);
            image_.fill(Qt::transparent);
            painter_.begin(&image_);
            painter_.setRenderHint(QPainter::Antialiasing);
        }
        for (int y = 0; y < size.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(image_.scanLine(y)), size.width(), QRgb(0));
        return image_;
    }
    QPainter& painter() { return painter_; }

private:
    QImage image_;
    QPainter painter_;
};

// Past this many device pixels a side, a dot layer is no longer small: painted offscreen.
constexpr int largestScratch = 512;

double stretch(const QTransform& t) {
    return std::sqrt(std::abs(t.m11() * t.m22()));
}

} // namespace

void BlurredDotLayer::fill(const QPainterPath& outline, const QBrush& brush,
                           const GraphicsContext::State& state) {
    if (!qualifies_) return;
    const bool plain = brush.style() == Qt::SolidPattern && state.blendMode == BlendMode::normal &&
                       !state.clip && state.filters.size() <= 1 &&
                       (state.filters.empty() || !state.filters.front().color);
    const QTransform transform = state.transform.toQTransform();
    if (!plain || dots_.size() == maxDots || (!dots_.empty() && brush.color() != color_) ||
        !isAxisAligned(transform) || !(sameOutlineAsLast(outline) || isEllipse(outline))) {
        qualifies_ = false;
        return;
    }
    color_ = brush.color();
    dots_.push_back(
        {outline, transform, state.opacity, state.filters.empty() ? 0 : state.filters.front().blurRadius});
}

bool BlurredDotLayer::sameOutlineAsLast(const QPainterPath& outline) const {
    // A dot is mostly filled twice, sharp and blurred: the second needs no new ellipse to compare.
    return !dots_.empty() && outline == dots_.back().outline;
}

bool BlurredDotLayer::qualifies() const {
    return qualifies_ &&
           std::any_of(dots_.begin(), dots_.end(), [](const Dot& d) { return d.blurRadius > 0; });
}

DisplayList::Draw BlurredDotLayer::draw(std::function<DisplayList()> exact, double opacity) const {
    QRectF bounds;
    double reach = 1;
    for (const Dot& dot : dots_) {
        bounds = bounds.united(dot.transform.mapRect(dot.outline.boundingRect()));
        reach = std::max(reach, 3 * dot.blurRadius + 1);
    }
    bounds.adjust(-reach, -reach, reach, reach);
    return {
        bounds,
        [dots = dots_, color = color_, exact = std::move(exact), opacity, bounds, reach](QPainter& painter) {
            const QTransform toDevice = OffscreenLayer::surfaceTransform(painter);
            const double scale = stretch(toDevice);
            bool cached = isAxisAligned(toDevice);
            for (const Dot& dot : dots)
                cached = cached && (dot.blurRadius == 0 || blurSigma(dot.blurRadius, scale) >= minimumSigma);
            const QRect area = toDevice.mapRect(bounds).toAlignedRect();
            if (!cached || area.width() > largestScratch || area.height() > largestScratch) {
                DisplayList list;
                DisplayList::LayerStyle style;
                style.opacity = opacity;
                list.layer(std::move(style)) = exact();
                render(list, painter);
                return;
            }
            if (area.isEmpty()) return;
            thread_local Scratch scratch;
            QImage& pixels = scratch.prepare(area.size());
            QPainter& inner = scratch.painter();
            const QTransform toScratch = toDevice * QTransform::fromTranslate(-area.x(), -area.y());
            const Ink ink(qPremultiply(color.rgba()));
            for (const Dot& dot : dots) {
                if (dot.blurRadius > 0) continue;
                inner.setOpacity(dot.opacity);
                fillInBands(inner, dot.transform * toScratch, dot.outline, color);
            }
            // One colour throughout, so the blurred ones may go over all the sharp ones.
            for (const Dot& dot : dots) {
                if (dot.blurRadius == 0) continue;
                const QRectF onDevice = (dot.transform * toDevice).mapRect(dot.outline.boundingRect());
                const Disc& disc = blurredDisc(onDevice.size(), blurSigma(dot.blurRadius, scale));
                compositeShifted(pixels, area.size(), disc,
                                 onDevice.center() - disc.center - QPointF(area.topLeft()), ink, dot.opacity);
            }
            // Device pixels one to one: no world transform, the device's pixel ratio undone.
            const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
            painter.save();
            painter.setWorldTransform(QTransform());
            painter.setViewTransformEnabled(false);
            painter.setOpacity(painter.opacity() * opacity);
            painter.drawImage(QRectF(QPointF(area.topLeft()) / ratio, QSizeF(area.size()) / ratio), pixels,
                              QRectF(QPointF(0, 0), QSizeF(area.size())));
            painter.restore();
        }};
}

} // namespace ui::detail
