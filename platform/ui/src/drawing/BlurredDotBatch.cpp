#include "BlurredDotBatch.h"

#include "painting/WideLanes.h"

#include "ui/Blur.h"
#include "ui/OffscreenLayer.h"
#include "ui/Path.h"
#include "ui/Renderer.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ui::detail {

namespace {

// Below this many device pixels of blur a sub-pixel shift of a cached disc shows.
constexpr double minimumSigma = 2;
constexpr std::size_t cacheLimit = 256; // about one frame of a large vanish
// Empty pixels round a cached disc, so sampling between pixels stops there.
constexpr int rim = 1;
// Past this many device pixels a side, a layer is no longer a dot: painted offscreen.
constexpr int largestLayer = 512;
// Coverage below this lays nothing visible.
constexpr float faint = 1.0f / 1024;

// Fills `outline` under `transform` with the painter's brush (its pen off), a band of device rows
// at a time. The painter hands a fill of more than about a hundred spans to other threads, which
// for one dot costs many times the fill itself; a band stays under that, and clipping to whole
// rows leaves every pixel as it was.
void fillInBands(QPainter& painter, const QTransform& transform, const QPainterPath& outline) {
    constexpr int band = 16;
    const QRect rows = transform.mapRect(outline.boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (rows.height() <= band) {
        painter.setTransform(transform);
        painter.drawPath(outline);
        return;
    }
    for (int y = rows.top(); y < rows.top() + rows.height(); y += band) {
        painter.setTransform(QTransform());
        painter.setClipRect(QRect(rows.left(), y, rows.width(), band));
        painter.setTransform(transform);
        painter.drawPath(outline);
    }
    painter.setClipping(false);
}

// A painter for coverage: antialiased fills in black, no outlines.
void prepareCoverage(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
}

// A blurred filled ellipse as coverage from 0 to 1, its centre at the middle of the grid.
// Sizes are kept to a thirty-second of the blur, which moves an edge by less than a level, and
// the blur to steps of 1/128 of an octave, which moves no coverage by a fifth of a level, so a
// blur that drifts a little from frame to frame keeps its discs. Box passes change in steps of
// their own: discs share them only where the passes are the same.
struct Disc {
    std::vector<float> coverage; // rows of `width`, empty within `rim` of the edges
    std::vector<std::pair<int, int>> lit; // per row the columns from the first to past the last not empty
    int width = 0, height = 0;
    QPointF center;
};

std::shared_ptr<const Disc> blurredDisc(QSizeF size, double exactSigma) {
    const long long octaves = std::llround(std::log2(exactSigma) * 128);
    const double sigma = std::exp2(double(octaves) / 128);
    const double step = sigma / 32;
    std::array<int, 3> boxes{};
    if (!blursWithKernel(exactSigma)) {
        const auto radii = boxBlurRadii(exactSigma);
        std::copy_n(radii.begin(), std::min(radii.size(), boxes.size()), boxes.begin());
    }
    using Key = std::tuple<long long, long long, long long, std::array<int, 3>>;
    const Key key{std::llround(size.width() / step), std::llround(size.height() / step), octaves, boxes};
    thread_local std::map<Key, std::shared_ptr<const Disc>> cache;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= cacheLimit) cache.clear();

    const double w = double(std::get<0>(key)) * step, h = double(std::get<1>(key)) * step;
    const int reach = blurReach(sigma * 1.01) + rim; // for any blur of the step
    QImage image(int(std::ceil(w)) + 2 * reach, int(std::ceil(h)) + 2 * reach, QImage::Format_Alpha8);
    image.fill(0);
    auto disc = std::make_shared<Disc>();
    disc->width = image.width();
    disc->height = image.height();
    disc->center = QPointF(disc->width / 2.0, disc->height / 2.0);
    {
        QPainter painter(&image);
        prepareCoverage(painter);
        fillInBands(painter, QTransform(),
                    Path::ellipseIn(graphics::CGRect::fromQRectF(
                                        QRectF(disc->center.x() - w / 2, disc->center.y() - h / 2, w, h)))
                        .toQPainterPath());
    }
    gaussianBlur(image, exactSigma);
    disc->coverage.assign(std::size_t(disc->width) * disc->height, 0);
    // The rim stays empty: beyond the blur's reach, as the offscreen passes cut it.
    constexpr float level = 1.0f / 255;
    for (int y = rim; y < disc->height - rim; ++y) {
        const uchar* from = image.constScanLine(y);
        float* to = disc->coverage.data() + std::size_t(y) * disc->width;
        for (int x = rim; x < disc->width - rim; ++x)
            to[x] = float(from[x]) * level;
    }
    disc->lit.assign(std::size_t(disc->height), {disc->width, 0});
    for (int y = 0; y < disc->height; ++y) {
        const float* row = disc->coverage.data() + std::size_t(y) * disc->width;
        auto& [first, end] = disc->lit[std::size_t(y)];
        for (int x = 0; x < disc->width; ++x) {
            if (row[x] == 0) continue;
            first = std::min(first, x);
            end = x + 1;
        }
    }
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

double stretch(const QTransform& t) {
    return std::sqrt(std::abs(t.m11() * t.m22()));
}

// Grows `image` to at least `size` in `format`, cleared.
void ensure(QImage& image, QSize size, QImage::Format format) {
    if (image.width() >= size.width() && image.height() >= size.height()) return;
    image = QImage(std::max(size.width(), image.width()), std::max(size.height(), image.height()), format);
    image.fill(0);
}

// The pixels a batch is put together in, one set per thread, kept clear between batches so a
// frame costs no images of its own: the colour laid so far, a sharp fill's coverage, and per
// pixel what the layers of the current colour leave uncovered (1 outside use).
struct Surface {
    QImage color;
    QImage sharp;
    QPainter sharpPainter;
    std::vector<float> keep;
    std::vector<float> layerKeep; // the same for one layer, where it cannot go straight to `keep`
};

// Rows of uncovered shares, `stride` apart, the first for pixel `origin`.
struct KeepGrid {
    float* data;
    int stride;
    QPoint origin;
    float* row(int y) const { return data + std::size_t(y - origin.y()) * stride - origin.x(); }
};

// One fill of a layer on the surface.
struct Placed {
    const BlurredDotLayer::Dot* dot = nullptr;
    QRect rect;           // the surface pixels it may touch
    QTransform transform; // a sharp fill: onto the surface
    QRect painted;        // and the pixels it may paint, also past the surface
    std::shared_ptr<const Disc> disc;
    QPointF origin; // a blurred fill: where the disc's (0, 0) lies, between pixels
};

// Multiplies `count` shares by what a disc row leaves uncovered: each sample lies between
// pixels k − 1 and k of the row at `above` and the one `width` below it.
QUORIL_WIDE_LANES void takeShiftedRow(float* __restrict keep, const float* above, int width,
                                      const float weights[4], int count) {
    const float* here = above + width;
    const float w11 = weights[0], w01 = weights[1], w10 = weights[2], w00 = weights[3];
    for (int x = 0; x < count; ++x)
        keep[x] *= 1 - (w11 * above[x - 1] + w01 * above[x] + w10 * here[x - 1] + w00 * here[x]);
}

// Multiplies `count` shares by what a row of sharp coverage leaves uncovered (a clear pixel by
// exactly one).
QUORIL_WIDE_LANES void takeSharpRow(float* __restrict keep, const uchar* coverage, float scale, int count) {
    for (int x = 0; x < count; ++x)
        keep[x] *= 1 - float(coverage[x]) * scale;
}

// Multiplies into `grid` what the fill leaves uncovered; a sharp fill is rasterised for it and
// cleared behind it.
void takeCoverage(const Placed& p, Surface& surface, const KeepGrid& grid) {
    const float o = float(p.dot->opacity);
    if (!p.disc) {
        fillInBands(surface.sharpPainter, p.transform, p.dot->outline);
        QImage& sharp = surface.sharp;
        const float scale = o / 255;
        for (int y = p.rect.top(); y <= p.rect.bottom(); ++y)
            takeSharpRow(grid.row(y) + p.rect.left(), sharp.constScanLine(y) + p.rect.left(), scale,
                         p.rect.width());
        const QRect painted = p.painted.intersected(sharp.rect());
        for (int y = painted.top(); y <= painted.bottom(); ++y)
            std::fill_n(sharp.scanLine(y) + painted.left(), painted.width(), uchar(0));
        return;
    }
    const Disc& disc = *p.disc;
    const int baseX = int(std::floor(p.origin.x())), baseY = int(std::floor(p.origin.y()));
    // Pixel baseX + k takes the disc from k − fx: between samples k − 1 and k.
    const auto fx = float(p.origin.x() - baseX), fy = float(p.origin.y() - baseY);
    const float weights[4] = {fx * fy * o, (1 - fx) * fy * o, fx * (1 - fy) * o, (1 - fx) * (1 - fy) * o};
    for (int y = p.rect.top(); y <= p.rect.bottom(); ++y) {
        // Only pixels that sample a disc column that is not empty: elsewhere each share stays.
        const auto [firstAbove, endAbove] = disc.lit[std::size_t(y - baseY - 1)];
        const auto [firstHere, endHere] = disc.lit[std::size_t(y - baseY)];
        const int from = std::max(p.rect.left(), baseX + std::min(firstAbove, firstHere));
        const int to = std::min(p.rect.right() + 1, baseX + std::max(endAbove, endHere) + 1);
        if (from >= to) continue;
        const float* above = disc.coverage.data() + std::size_t(y - baseY - 1) * disc.width - baseX;
        takeShiftedRow(grid.row(y) + from, above + from, disc.width, weights, to - from);
    }
}

// Takes one layer into what its colour's run leaves uncovered; the pixels it touched. A layer
// of one colour lays dst · (1 − a·c) + C·c, so a run of them lays dst · K + C · (1 − K) / a,
// with K the product of their (1 − a·c): the colour is worked out once, when the run ends.
QRect takeLayer(const BlurredDotBatch::Layer& layer, const std::vector<Placed>& fills, Surface& surface,
                int stride) {
    QRect box;
    for (const Placed& p : fills)
        box |= p.rect;
    if (box.isEmpty()) return box;
    const KeepGrid run{surface.keep.data(), stride, {0, 0}};
    const float share = float(layer.opacity) * float(layer.color.alpha()) / 255;
    if (share == 1) {
        // Its fills' shares multiply straight into the run's.
        for (const Placed& p : fills)
            takeCoverage(p, surface, run);
        return box;
    }
    surface.layerKeep.assign(std::size_t(box.width()) * box.height(), 1.0f);
    const KeepGrid own{surface.layerKeep.data(), box.width(), box.topLeft()};
    for (const Placed& p : fills)
        takeCoverage(p, surface, own);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const float* from = own.row(y);
        float* to = run.row(y);
        for (int x = box.left(); x <= box.right(); ++x)
            to[x] *= 1 - share * (1 - from[x]);
    }
    return box;
}

// Lays a run of `color` over `rect` of the surface's colour, and clears its uncovered shares.
void settleRun(Surface& surface, int stride, const QRect& rect, const QColor& color) {
    const Ink ink(qPremultiply(color.rgba()));
    // Coverage below `faint` lays nothing: so is every pixel whose share lies above `clear`.
    const float clear = 1 - faint * ink.alpha;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        float* keep = surface.keep.data() + std::size_t(y) * stride + rect.left();
        auto* line = reinterpret_cast<QRgb*>(surface.color.scanLine(y)) + rect.left();
        int x = 0;
#ifdef __SSE2__
        // Runs of four untouched pixels, common round a blurred disc, are passed over at once.
        const __m128 bound = _mm_set1_ps(clear);
        for (; x + 4 <= rect.width(); x += 4) {
            if (_mm_movemask_ps(_mm_cmplt_ps(_mm_loadu_ps(keep + x), bound)) == 0) continue;
            for (int k = x; k < x + 4; ++k)
                if (keep[k] < clear)
                    line[k] = over(line[k], ink.channels, ink.alpha, (1 - keep[k]) / ink.alpha);
        }
#endif
        for (; x < rect.width(); ++x)
            if (keep[x] < clear) line[x] = over(line[x], ink.channels, ink.alpha, (1 - keep[x]) / ink.alpha);
        std::fill_n(keep, rect.width(), 1.0f);
    }
}

void paintExactly(const BlurredDotBatch::Layer& layer, QPainter& painter) {
    DisplayList list;
    DisplayList::LayerStyle style;
    style.opacity = layer.opacity;
    list.layer(std::move(style)) = layer.exact();
    render(list, painter);
}

void paintLayers(const std::vector<BlurredDotBatch::Layer>& layers, const QRectF& bounds, QPainter& painter) {
    const QTransform toDevice = OffscreenLayer::surfaceTransform(painter);
    const double scale = stretch(toDevice);
    QRect area;
    if (isUprightScale(toDevice))
        area = toDevice.mapRect(bounds)
                   .intersected(QRectF(OffscreenLayer::devicePixels(painter)))
                   .toAlignedRect();
    const QTransform toSurface = toDevice * QTransform::fromTranslate(-area.x(), -area.y());
    const QRect surfaceRect(QPoint(0, 0), area.size());

    // Where each fill lands; layers that cannot be laid from the cache are painted exactly.
    std::vector<std::vector<Placed>> placed(layers.size());
    std::vector<bool> exact(layers.size(), false);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const auto& layer = layers[i];
        const QRect device = toDevice.mapRect(layer.bounds).toAlignedRect();
        bool cached = !area.isEmpty() && device.width() <= largestLayer && device.height() <= largestLayer;
        for (const auto& dot : layer.dots) {
            if (!cached) break;
            const QTransform t = dot.transform * toSurface;
            const QRectF onSurface = t.mapRect(dot.outline.boundingRect());
            Placed p;
            p.dot = &dot;
            if (dot.blurRadius > 0) {
                const double sigma = blurSigma(dot.blurRadius, scale);
                if (sigma < minimumSigma) {
                    cached = false;
                    break;
                }
                p.disc = blurredDisc(onSurface.size(), sigma);
                p.origin = onSurface.center() - p.disc->center;
                p.rect = QRect(int(std::floor(p.origin.x())) + rim, int(std::floor(p.origin.y())) + rim,
                               p.disc->width - 2 * rim, p.disc->height - 2 * rim)
                             .intersected(surfaceRect);
            } else {
                p.transform = t;
                p.painted = onSurface.toAlignedRect().adjusted(-1, -1, 1, 1);
                p.rect = p.painted.intersected(surfaceRect);
            }
            if (!p.rect.isEmpty()) placed[i].push_back(std::move(p));
        }
        if (!cached) {
            exact[i] = true;
            placed[i].clear();
        }
    }

    thread_local Surface surface;
    const int stride = area.width();
    if (!area.isEmpty()) {
        ensure(surface.color, area.size(), QImage::Format_ARGB32_Premultiplied);
        if (surface.sharp.width() < area.width() || surface.sharp.height() < area.height()) {
            if (surface.sharpPainter.isActive()) surface.sharpPainter.end();
            ensure(surface.sharp, area.size(), QImage::Format_Alpha8);
        }
        if (!surface.sharpPainter.isActive()) {
            surface.sharpPainter.begin(&surface.sharp);
            prepareCoverage(surface.sharpPainter);
        }
        const std::size_t pixels = std::size_t(area.width()) * area.height();
        if (surface.keep.size() < pixels) surface.keep.resize(pixels, 1.0f);
    }

    // Layers over one another in one image only when the painter lays them plainly; else each
    // goes down on its own, as its offscreen pass would.
    const bool together =
        painter.opacity() == 1 && painter.compositionMode() == QPainter::CompositionMode_SourceOver;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    QRect run, laid; // pixels of the current colour's run, and of the surface not yet drawn
    QColor runColor;
    const auto settle = [&] {
        if (run.isEmpty()) return;
        settleRun(surface, stride, run, runColor);
        laid |= run;
        run = QRect();
    };
    const auto drawLaid = [&] {
        settle();
        if (laid.isEmpty()) return;
        // Device pixels one to one: no world transform, the device's pixel ratio undone.
        painter.save();
        painter.setWorldTransform(QTransform());
        painter.setViewTransformEnabled(false);
        painter.drawImage(
            QRectF(QPointF(area.topLeft() + laid.topLeft()) / ratio, QSizeF(laid.size()) / ratio),
            surface.color, QRectF(laid));
        painter.restore();
        for (int y = laid.top(); y <= laid.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(surface.color.scanLine(y)) + laid.left(), laid.width(),
                        QRgb(0));
        laid = QRect();
    };
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const auto& layer = layers[i];
        if (exact[i]) {
            drawLaid();
            paintExactly(layer, painter);
            continue;
        }
        if (layer.color.alpha() == 0) continue;
        if (layer.color != runColor) settle();
        runColor = layer.color;
        run |= takeLayer(layer, placed[i], surface, stride);
        if (!together) drawLaid();
    }
    drawLaid();
}

} // namespace

void BlurredDotBatch::add(BlurredDotLayer& layer, std::function<DisplayList()> exact, double opacity) {
    QRectF bounds;
    double reach = 1;
    for (const auto& dot : layer.dots()) {
        bounds = bounds.united(dot.transform.mapRect(dot.outline.boundingRect()));
        reach = std::max(reach, 3 * dot.blurRadius + 1);
    }
    bounds.adjust(-reach, -reach, reach, reach);
    bounds_ = bounds_.united(bounds);
    const QColor color = layer.color();
    layers_.push_back({layer.takeDots(), color, std::move(exact), opacity, bounds});
}

DisplayList::Draw BlurredDotBatch::take() {
    auto layers = std::make_shared<const std::vector<Layer>>(std::move(layers_));
    const QRectF bounds = bounds_;
    layers_.clear();
    bounds_ = QRectF();
    return {bounds, [layers, bounds](QPainter& painter) { paintLayers(*layers, bounds, painter); }};
}

} // namespace ui::detail
