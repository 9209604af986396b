// Our separable blur against a plain 2D Gaussian kernel over the same image, in the same run.
#include "RatioReporter.h"

#include <ui/Blur.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A window-sized layer with something on it.
QImage content() {
    QImage image(400, 350, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i)
        painter.fillRect(QRectF(20 + i * 30, 30 + (i % 4) * 70, 24, 50),
                         QColor::fromHsv(i * 30, 200, 220, 230));
    return image;
}

// The baseline: every output pixel sums its whole square neighbourhood.
void naiveBlur(QImage& image, double sigma) {
    const int reach = ui::blurReach(sigma);
    std::vector<double> weights;
    double total = 0;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            weights.push_back(std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
            total += weights.back();
        }
    for (double& w : weights)
        w /= total;
    const QImage source = image.copy();
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            std::size_t k = 0;
            for (int dy = -reach; dy <= reach; ++dy) {
                const int sy = y + dy;
                if (sy < 0 || sy >= height) {
                    k += 2 * reach + 1;
                    continue;
                }
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
                for (int dx = -reach; dx <= reach; ++dx, ++k) {
                    const int sx = x + dx;
                    if (sx < 0 || sx >= width) continue;
                    const QRgb p = in[sx];
                    a += weights[k] * qAlpha(p);
                    r += weights[k] * qRed(p);
                    g += weights[k] * qGreen(p);
                    b += weights[k] * qBlue(p);
                }
            }
            out[x] = qRgba(std::lround(r), std::lround(g), std::lround(b), std::lround(a));
        }
    }
}

template <void (*Blur)(QImage&, double)> void run(benchmark::State& state) {
    const QImage original = content();
    const double sigma = static_cast<double>(state.range(0));
    for (auto _ : state) {
        QImage image = original.copy();
        Blur(image, sigma);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_NaiveKernel(benchmark::State& state) {
    run<naiveBlur>(state);
}
void BM_GaussianBlur(benchmark::State& state) {
    run<ui::gaussianBlur>(state);
}
void BM_SeparableKernel(benchmark::State& state) {
    run<ui::gaussianBlurWithKernel>(state);
}
void BM_BoxPasses(benchmark::State& state) {
    run<ui::gaussianBlurWithBoxes>(state);
}

BENCHMARK(BM_NaiveKernel)->Arg(2)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GaussianBlur)->Arg(2)->Arg(6)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeparableKernel)->Arg(2)->Arg(6)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoxPasses)->Arg(2)->Arg(6)->Arg(30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runWithRatios(argc, argv,
                         {{"BM_GaussianBlur/2", "BM_NaiveKernel/2"},
                          {"BM_GaussianBlur/6", "BM_NaiveKernel/6"},
                          {"BM_SeparableKernel/6", "BM_NaiveKernel/6"},
                          {"BM_BoxPasses/6", "BM_NaiveKernel/6"},
                          {"BM_BoxPasses/30", "BM_SeparableKernel/30"}});
}
