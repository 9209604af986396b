#include "ui/Blur.h"

#include "WideLanes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace ui {
namespace {

// Past this sigma the kernel's taps cost more than the box passes.
constexpr double kernelLimit = 3;

bool blurs(double sigma) {
    return sigma > 0 && std::isfinite(sigma);
}

// Brings the image to a format the passes work on; returns the bytes per pixel.
int prepare(QImage& image) {
    if (image.format() == QImage::Format_Alpha8) return 1;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return 4;
}

// A Gaussian kernel in 16-bit fixed point whose weights sum to exactly 1, so a flat area stays
// flat and no channel can overflow. Taps whose weight rounds to nothing are left off: a small
// sigma then costs three taps, not five.
std::vector<std::uint32_t> kernel(double sigma, int& reach) {
    std::vector<double> weights(2 * reach + 1);
    double sum = 0;
    for (int k = -reach; k <= reach; ++k)
        sum += weights[k + reach] = std::exp(-k * k / (2 * sigma * sigma));
    std::vector<std::uint32_t> fixed(weights.size());
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i)
        total += fixed[i] = std::lround(weights[i] / sum * 65536);
    fixed[reach] += 65536 - total; // the rounding remainder goes to the centre
    int zero = 0;
    while (zero < reach && fixed[zero] == 0 && fixed[fixed.size() - 1 - zero] == 0)
        ++zero;
    reach -= zero;
    return {fixed.begin() + zero, fixed.end() - zero};
}

// A stretch of bytes of a line.
struct Span {
    std::size_t from = 0, to = 0;
};

// The stretches of a line that are not zero, joined across gaps shorter than `join` bytes. A
// transparent stretch of a layer (beside small shapes, or inside a ring) then costs a clear
// instead of the taps.
void nonZeroRuns(const uchar* line, std::size_t bytes, std::size_t join, std::vector<Span>& runs) {
    runs.clear();
    // Eight bytes at a time where all of them are zero, or none is.
    const auto word = [line](std::size_t i) {
        std::uint64_t w;
        std::memcpy(&w, line + i, sizeof w);
        return w;
    };
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    std::size_t i = 0;
    while (i < bytes) {
        while (i + 8 <= bytes && word(i) == 0)
            i += 8;
        while (i < bytes && line[i] == 0)
            ++i;
        if (i == bytes) break;
        const std::size_t from = i;
        while (i + 8 <= bytes && ((word(i) - ones) & ~word(i) & highs) == 0)
            i += 8;
        while (i < bytes && line[i] != 0)
            ++i;
        if (!runs.empty() && from - runs.back().to < join)
            runs.back().to = i;
        else
            runs.push_back({from, i});
    }
}

// Sorts stretches and joins those that overlap or lie closer than `join` bytes.
void merge(std::vector<Span>& runs, std::size_t join) {
    std::sort(runs.begin(), runs.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
    std::size_t kept = 0;
    for (const Span& run : runs) {
        if (kept > 0 && run.from < runs[kept - 1].to + join)
            runs[kept - 1].to = std::max(runs[kept - 1].to, run.to);
        else
            runs[kept++] = run;
    }
    runs.resize(kept);
}

// Short gaps are cheaper to tap through than to split at.
constexpr std::size_t shortGap = 64;

// One kernel pass along rows into `out`: each tap adds a shifted copy of the row, so the inner
// loop runs over contiguous bytes. Each byte is a channel, treated alike. A byte more than the
// reach away from every byte that is not zero stays zero.
QUORIL_WIDE_LANES void kernelRows(const QImage& in, QImage& out, const std::vector<std::uint32_t>& k,
                                  int reach, int bpp) {
    const int w = in.width();
    const std::size_t bytes = static_cast<std::size_t>(w) * bpp;
    const std::size_t spread = static_cast<std::size_t>(reach) * bpp;
    std::vector<std::uint32_t> acc(bytes);
    std::vector<Span> runs;
    for (int y = 0; y < in.height(); ++y) {
        const uchar* src = in.constScanLine(y);
        uchar* dst = out.scanLine(y);
        // Joined across gaps up to twice the reach, so the widened stretches do not overlap.
        nonZeroRuns(src, bytes, 2 * spread + shortGap, runs);
        std::fill(dst, dst + bytes, uchar(0));
        for (Span run : runs) {
            run.from = run.from > spread ? run.from - spread : 0;
            run.to = std::min(bytes, run.to + spread);
            std::fill(acc.begin() + run.from, acc.begin() + run.to, 1u << 15);
            const auto tap = [&](int d) {
                // Output bytes whose source byte lies inside the row.
                const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(d) * bpp;
                // Signed: past a row narrower than the reach the stretch is empty, not huge.
                const std::ptrdiff_t from = std::max<std::ptrdiff_t>(std::ptrdiff_t(run.from), -offset);
                const std::ptrdiff_t to =
                    std::min<std::ptrdiff_t>(std::ptrdiff_t(run.to), std::ptrdiff_t(bytes) - offset);
                const std::uint32_t weight = k[d + reach];
                const uchar* shifted = src + offset;
                for (std::ptrdiff_t i = from; i < to; ++i)
                    acc[i] += weight * shifted[i];
            };
            tap(0);
            // The kernel is even: a tap and its mirror share a weight, taken once where both lie
            // inside the row.
            for (int d = 1; d <= reach; ++d) {
                const std::size_t offset = static_cast<std::size_t>(d) * bpp;
                const std::size_t from = std::max(run.from, offset);
                const std::size_t to = bytes > offset ? std::min(run.to, bytes - offset) : 0;
                if (from >= to || k[reach + d] != k[reach - d]) {
                    tap(d);
                    tap(-d);
                    continue;
                }
                const std::uint32_t weight = k[reach + d];
                const uchar* after = src + offset;
                const uchar* before = src - offset;
                for (std::size_t i = from; i < to; ++i)
                    acc[i] += weight * (std::uint32_t(after[i]) + before[i]);
                // Either side's bytes outside the shared stretch.
                for (std::size_t i = run.from; i < from; ++i)
                    acc[i] += weight * src[i + offset];
                for (std::size_t i = to; i < run.to; ++i)
                    if (i >= offset) acc[i] += weight * src[i - offset];
            }
            for (std::size_t i = run.from; i < run.to; ++i)
                dst[i] = static_cast<uchar>(acc[i] >> 16);
        }
    }
}

// One kernel pass along columns, a row at a time so memory is read in order. Only the bytes
// where a row within reach is not zero are tapped.
QUORIL_WIDE_LANES void kernelColumns(const QImage& in, QImage& out, const std::vector<std::uint32_t>& k,
                                     int reach, int bpp) {
    const int h = in.height();
    const std::size_t bytes = static_cast<std::size_t>(in.width()) * bpp;
    std::vector<std::vector<Span>> rowRuns(h);
    for (int y = 0; y < h; ++y)
        nonZeroRuns(in.constScanLine(y), bytes, shortGap, rowRuns[y]);
    std::vector<std::uint32_t> acc(bytes);
    std::vector<Span> runs;
    for (int y = 0; y < h; ++y) {
        const int from = std::max(-reach, -y), to = std::min(reach, h - 1 - y);
        runs.clear();
        for (int d = from; d <= to; ++d)
            runs.insert(runs.end(), rowRuns[y + d].begin(), rowRuns[y + d].end());
        merge(runs, shortGap);
        uchar* dst = out.scanLine(y);
        std::fill(dst, dst + bytes, uchar(0));
        for (const Span& run : runs) {
            std::fill(acc.begin() + run.from, acc.begin() + run.to, 1u << 15);
            // The kernel is even: rows as far above as below share a weight, taken once.
            const int paired = std::min(-from, to);
            for (int d = from; d <= to; ++d) {
                const std::uint32_t weight = k[d + reach];
                const uchar* src = in.constScanLine(y + d);
                if (d < 0 && -d <= paired && k[reach - d] == weight) {
                    const uchar* mirror = in.constScanLine(y - d);
                    for (std::size_t i = run.from; i < run.to; ++i)
                        acc[i] += weight * (std::uint32_t(src[i]) + mirror[i]);
                    continue;
                }
                if (d > 0 && d <= paired && k[reach - d] == weight) continue; // taken with its mirror
                for (std::size_t i = run.from; i < run.to; ++i)
                    acc[i] += weight * src[i];
            }
            for (std::size_t i = run.from; i < run.to; ++i)
                dst[i] = static_cast<uchar>(acc[i] >> 16);
        }
    }
}

// Widths of three boxes whose passes together have the variance of the Gaussian.
std::vector<int> boxRadii(double sigma) {
    constexpr int n = 3;
    const double ideal = std::sqrt(12 * sigma * sigma / n + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    // In floating point: at the widest sigma the squares are beyond an int.
    const double l = lower;
    const double m = (12 * sigma * sigma - n * l * l - 4 * n * l - 3 * n) / (-4 * l - 4);
    const int smaller = static_cast<int>(std::lround(m));
    std::vector<int> radii;
    for (int i = 0; i < n; ++i)
        radii.push_back(((i < smaller ? lower : upper) - 1) / 2);
    return radii;
}

// Divides a window's sum by its width in fixed point. The factor fits 32 bits for any window
// wider than one pixel, so the product is a 32 × 32-bit one that vector lanes do at once; a window
// of one pixel is its own average.
struct Average {
    explicit Average(int radius)
        : factor(radius > 0 ? std::uint32_t((std::uint64_t(1) << 32) / (2 * radius + 1)) : 0)
        , single(radius <= 0) {}
    uchar operator()(std::uint32_t sum) const {
        if (single) return static_cast<uchar>(sum);
        return static_cast<uchar>((std::uint64_t(sum) * factor + (std::uint64_t(1) << 31)) >> 32);
    }
    std::uint32_t factor;
    bool single;
};

// One box pass over `count` elements of `bytes` channels each (a pixel, or a row of a block of
// columns), with nothing beyond the ends. `Bytes` fixes the count at compile time where it is small.
template <int Bytes>
QUORIL_WIDE_LANES void boxPass(const uchar* in, uchar* out, int count, int radius, int bytes,
                               std::uint32_t* sum) {
    if constexpr (Bytes > 0) bytes = Bytes;
    const Average average(radius);
    std::fill(sum, sum + bytes, 0);
    for (int i = 0; i < std::min(radius, count); ++i)
        for (int c = 0; c < bytes; ++c)
            sum[c] += in[i * bytes + c];
    for (int i = 0; i < count; ++i) {
        if (const int enter = i + radius; enter < count)
            for (int c = 0; c < bytes; ++c)
                sum[c] += in[enter * bytes + c];
        for (int c = 0; c < bytes; ++c)
            out[i * bytes + c] = average(sum[c]);
        if (const int leave = i - radius; leave >= 0)
            for (int c = 0; c < bytes; ++c)
                sum[c] -= in[leave * bytes + c];
    }
}

// The box passes along one axis. A line is padded by the passes' total reach, so what the first
// pass spreads past an end is still there for the next ones, as it is for a true Gaussian.
template <int Bytes> class BoxPasses {
public:
    BoxPasses(const std::vector<int>& radii, int count, int bytes)
        : radii_(radii)
        , count_(count)
        , bytes_(bytes) {
        for (int r : radii_)
            pad_ += r;
        const std::size_t size = static_cast<std::size_t>(count_ + 2 * pad_) * bytes_;
        a_.resize(size);
        b_.resize(size);
        sum_.resize(bytes_);
    }

    // Element i of the line is `bytes` bytes at `first + i * step`.
    void operator()(uchar* first, std::ptrdiff_t step) {
        std::fill(a_.begin(), a_.end(), 0);
        for (int i = 0; i < count_; ++i)
            std::copy_n(first + i * step, bytes_, at(a_, i));
        for (int r : radii_) {
            boxPass<Bytes>(a_.data(), b_.data(), count_ + 2 * pad_, r, bytes_, sum_.data());
            std::swap(a_, b_);
        }
        for (int i = 0; i < count_; ++i)
            std::copy_n(at(a_, i), bytes_, first + i * step);
    }

    // Several lines side by side, each `bytes / lines.size()` bytes an element, as the channels of
    // one: the passes then run across all of them at once, each line summed as it would be alone.
    void operator()(const std::vector<uchar*>& lines) {
        const int each = bytes_ / int(lines.size());
        std::fill(a_.begin(), a_.end(), 0);
        for (int i = 0; i < count_; ++i)
            for (std::size_t l = 0; l < lines.size(); ++l)
                std::copy_n(lines[l] + i * each, each, at(a_, i) + l * each);
        for (int r : radii_) {
            boxPass<Bytes>(a_.data(), b_.data(), count_ + 2 * pad_, r, bytes_, sum_.data());
            std::swap(a_, b_);
        }
        for (int i = 0; i < count_; ++i)
            for (std::size_t l = 0; l < lines.size(); ++l)
                std::copy_n(at(a_, i) + l * each, each, lines[l] + i * each);
    }

private:
    uchar* at(std::vector<uchar>& line, int i) const {
        return line.data() + static_cast<std::size_t>(pad_ + i) * bytes_;
    }

    std::vector<int> radii_;
    int count_;
    int bytes_;
    int pad_ = 0;
    std::vector<uchar> a_, b_;
    std::vector<std::uint32_t> sum_;
};

template <int Bpp> QUORIL_WIDE_LANES void boxBlur(QImage& image, const std::vector<int>& radii) {
    uchar* bits = image.bits();
    if (!bits) return;
    const std::ptrdiff_t line = image.bytesPerLine();
    const int w = image.width(), h = image.height();
    // Rows go several at once, side by side as the channels of one line: a row alone is one running
    // sum, which vector lanes cannot share. A clear row stays clear along itself, as the rows above
    // and below a small shape are.
    constexpr int together = 16 / Bpp;
    BoxPasses<16> rows(radii, w, 16);
    std::vector<uchar*> lines;
    for (int y = 0; y < h; ++y) {
        uchar* row = bits + y * line;
        if (std::all_of(row, row + std::size_t(w) * Bpp, [](uchar b) { return b == 0; })) continue;
        lines.push_back(row);
        if (int(lines.size()) == together) {
            rows(lines);
            lines.clear();
        }
    }
    if (!lines.empty()) {
        BoxPasses<0> rest(radii, w, int(lines.size()) * Bpp);
        rest(lines);
    }
    // Columns go in blocks, each row of a block one element, so memory is read in order.
    constexpr int block = 64 / Bpp;
    BoxPasses<0> columns(radii, h, block * Bpp);
    int x = 0;
    for (; x + block <= w; x += block)
        columns(bits + x * Bpp, line);
    if (x < w) {
        BoxPasses<0> rest(radii, h, (w - x) * Bpp);
        rest(bits + x * Bpp, line);
    }
}

} // namespace

double blurSigma(double radius, double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
    const double sigma = radius * scale;
    return blurs(sigma) ? sigma : 0;
}

int blurReach(double sigma) {
    if (!blurs(sigma)) return 0;
    // Beyond any image a layer could hold; keeps the arithmetic in range.
    return static_cast<int>(std::ceil(3 * std::min(sigma, 1e6)));
}

void gaussianBlurWithKernel(QImage& image, double sigma) {
    if (!blurs(sigma) || image.isNull()) return;
    const int bpp = prepare(image);
    int reach = std::min(blurReach(sigma), std::max(image.width(), image.height()));
    const auto k = kernel(sigma, reach);
    // Every weight but the centre's rounds to nothing: the pixels stay as they are.
    if (reach == 0) return;
    QImage scratch(image.size(), image.format());
    if (scratch.isNull()) return;
    kernelRows(image, scratch, k, reach, bpp);
    kernelColumns(scratch, image, k, reach, bpp);
}

void gaussianBlurWithBoxes(QImage& image, double sigma) {
    if (!blurs(sigma) || image.isNull()) return;
    const int bpp = prepare(image);
    // Past the image's size a wider box changes nothing but the cost.
    const int limit = std::max(image.width(), image.height());
    auto radii = boxRadii(std::min(sigma, 1e6));
    for (int& r : radii)
        r = std::min(r, limit);
    if (bpp == 4)
        boxBlur<4>(image, radii);
    else
        boxBlur<1>(image, radii);
}

bool blursWithKernel(double sigma) {
    return sigma <= kernelLimit;
}

std::vector<int> boxBlurRadii(double sigma) {
    return boxRadii(std::min(sigma, 1e6));
}

void gaussianBlur(QImage& image, double sigma) {
    if (blursWithKernel(sigma))
        gaussianBlurWithKernel(image, sigma);
    else
        gaussianBlurWithBoxes(image, sigma);
}

} // namespace ui
