#include "ui/Blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace ui {
namespace {

// Past this sigma the kernel's taps cost more than the box passes.
constexpr double kernelLimit = 3;

bool blurs(double sigma) { return sigma > 0 && std::isfinite(sigma); }

// Brings the image to a format the passes work on; returns the bytes per pixel.
int prepare(QImage& image) {
    if (image.format() == QImage::Format_Alpha8) return 1;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return 4;
}

// A Gaussian kernel in 16-bit fixed point whose weights sum to exactly 1, so a flat area stays
// flat and no channel can overflow.
std::vector<std::uint32_t> kernel(double sigma, int reach) {
    std::vector<double> weights(2 * reach + 1);
    double sum = 0;
    for (int k = -reach; k <= reach; ++k) sum += weights[k + reach] = std::exp(-k * k / (2 * sigma * sigma));
    std::vector<std::uint32_t> fixed(weights.size());
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) total += fixed[i] = std::lround(weights[i] / sum * 65536);
    fixed[reach] += 65536 - total; // the rounding remainder goes to the centre
    return fixed;
}

// One kernel pass along rows into `out`; each byte is a channel, treated alike.
void kernelRows(const QImage& in, QImage& out, const std::vector<std::uint32_t>& k, int reach, int bpp) {
    const int w = in.width();
    std::vector<std::uint32_t> acc(bpp);
    for (int y = 0; y < in.height(); ++y) {
        const uchar* src = in.constScanLine(y);
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            std::fill(acc.begin(), acc.end(), 1u << 15);
            const int from = std::max(-reach, -x), to = std::min(reach, w - 1 - x);
            for (int d = from; d <= to; ++d) {
                const uchar* p = src + (x + d) * bpp;
                const std::uint32_t weight = k[d + reach];
                for (int c = 0; c < bpp; ++c) acc[c] += weight * p[c];
            }
            for (int c = 0; c < bpp; ++c) dst[x * bpp + c] = static_cast<uchar>(acc[c] >> 16);
        }
    }
}

// One kernel pass along columns, a row at a time so memory is read in order.
void kernelColumns(const QImage& in, QImage& out, const std::vector<std::uint32_t>& k, int reach, int bpp) {
    const int h = in.height();
    const std::size_t bytes = static_cast<std::size_t>(in.width()) * bpp;
    std::vector<std::uint32_t> acc(bytes);
    for (int y = 0; y < h; ++y) {
        std::fill(acc.begin(), acc.end(), 1u << 15);
        const int from = std::max(-reach, -y), to = std::min(reach, h - 1 - y);
        for (int d = from; d <= to; ++d) {
            const uchar* src = in.constScanLine(y + d);
            const std::uint32_t weight = k[d + reach];
            for (std::size_t i = 0; i < bytes; ++i) acc[i] += weight * src[i];
        }
        uchar* dst = out.scanLine(y);
        for (std::size_t i = 0; i < bytes; ++i) dst[i] = static_cast<uchar>(acc[i] >> 16);
    }
}

// Widths of three boxes whose passes together have the variance of the Gaussian.
std::vector<int> boxRadii(double sigma) {
    constexpr int n = 3;
    const double ideal = std::sqrt(12 * sigma * sigma / n + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double m = (12 * sigma * sigma - n * lower * lower - 4 * n * lower - 3 * n) / (-4.0 * lower - 4);
    const int smaller = static_cast<int>(std::lround(m));
    std::vector<int> radii;
    for (int i = 0; i < n; ++i) radii.push_back(((i < smaller ? lower : upper) - 1) / 2);
    return radii;
}

// Divides a window's sum by its width in fixed point.
struct Average {
    explicit Average(int radius) : factor((std::uint64_t(1) << 32) / (2 * radius + 1)) {}
    uchar operator()(std::uint32_t sum) const {
        return static_cast<uchar>((sum * factor + (std::uint64_t(1) << 31)) >> 32);
    }
    std::uint64_t factor;
};

// One box pass over a line of `count` pixels with nothing beyond its ends.
void boxPass(const uchar* in, uchar* out, int count, int radius, int bpp, std::vector<std::uint32_t>& sum) {
    const Average average(radius);
    std::fill(sum.begin(), sum.end(), 0);
    for (int x = 0; x < std::min(radius, count); ++x)
        for (int c = 0; c < bpp; ++c) sum[c] += in[x * bpp + c];
    for (int x = 0; x < count; ++x) {
        if (const int enter = x + radius; enter < count)
            for (int c = 0; c < bpp; ++c) sum[c] += in[enter * bpp + c];
        for (int c = 0; c < bpp; ++c) out[x * bpp + c] = average(sum[c]);
        if (const int leave = x - radius; leave >= 0)
            for (int c = 0; c < bpp; ++c) sum[c] -= in[leave * bpp + c];
    }
}

// The box passes over one row or column, `step` bytes from pixel to pixel. The line is padded
// by the passes' total reach, so what the first pass spreads past an end is still there for
// the next ones, as it is for a true Gaussian.
class BoxLine {
public:
    BoxLine(std::vector<int> radii, int count, int bpp)
        : radii_(std::move(radii)), bpp_(bpp), count_(count) {
        for (int r : radii_) pad_ += r;
        const std::size_t bytes = static_cast<std::size_t>(count_ + 2 * pad_) * bpp_;
        a_.resize(bytes);
        b_.resize(bytes);
        sum_.resize(bpp_);
    }

    void operator()(uchar* pixels, std::ptrdiff_t step) {
        std::fill(a_.begin(), a_.end(), 0);
        for (int i = 0; i < count_; ++i)
            std::copy_n(pixels + i * step, bpp_, a_.data() + static_cast<std::size_t>(pad_ + i) * bpp_);
        for (int r : radii_) {
            boxPass(a_.data(), b_.data(), count_ + 2 * pad_, r, bpp_, sum_);
            std::swap(a_, b_);
        }
        for (int i = 0; i < count_; ++i)
            std::copy_n(a_.data() + static_cast<std::size_t>(pad_ + i) * bpp_, bpp_, pixels + i * step);
    }

private:
    std::vector<int> radii_;
    int bpp_;
    int count_;
    int pad_ = 0;
    std::vector<uchar> a_, b_;
    std::vector<std::uint32_t> sum_;
};

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
    const int reach = std::min(blurReach(sigma), std::max(image.width(), image.height()));
    const auto k = kernel(sigma, reach);
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
    for (int& r : radii) r = std::min(r, limit);
    uchar* bits = image.bits();
    if (!bits) return;
    const std::ptrdiff_t line = image.bytesPerLine();
    BoxLine row(radii, image.width(), bpp);
    for (int y = 0; y < image.height(); ++y) row(bits + y * line, bpp);
    BoxLine column(radii, image.height(), bpp);
    for (int x = 0; x < image.width(); ++x) column(bits + x * bpp, line);
}

void gaussianBlur(QImage& image, double sigma) {
    if (sigma <= kernelLimit)
        gaussianBlurWithKernel(image, sigma);
    else
        gaussianBlurWithBoxes(image, sigma);
}

} // namespace ui
