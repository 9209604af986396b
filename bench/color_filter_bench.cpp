// Colour filters over a window-sized layer against a plain per-pixel loop through QColor and
// against one QPainter copy of the same image (the least any pass over the pixels costs).
#include "RatioReporter.h"

#include <ui/ColorMatrix.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

QImage content() {
    QImage image(400, 350, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QRectF(10 + i * 30, 20 + (i % 4) * 70, 60, 90)),
            painter.fillRect(QRectF(20 + i * 30, 30 + (i % 4) * 70, 24, 50), QColor::fromHsv(i * 30, 200, 220, 230));
    return image;
}

// The baseline: the matrix applied pixel by pixel through QColor.
void naive(QImage& image, const ui::ColorMatrix& m) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const auto out = m.apply({float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF())});
            image.setPixelColor(x, y, QColor::fromRgbF(out[0], out[1], out[2], out[3]));
        }
}

const ui::ColorMatrix& matrixFor(int which) {
    static const ui::ColorMatrix matrices[] = {ui::ColorMatrix::brightness(0.2),
                                               ui::ColorMatrix::hueRotation(ui::Angle::degrees(40)),
                                               ui::ColorMatrix::luminanceToAlpha()};
    return matrices[std::clamp(which, 0, 2)];
}

void BM_Naive(benchmark::State& state) {
    const QImage original = content();
    for (auto _ : state) {
        QImage image = original.copy();
        naive(image, matrixFor(int(state.range(0))));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ColorMatrix(benchmark::State& state) {
    const QImage original = content();
    for (auto _ : state) {
        QImage image = original.copy();
        ui::applyColorMatrix(image, matrixFor(int(state.range(0))));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PainterCopy(benchmark::State& state) {
    const QImage original = content();
    for (auto _ : state) {
        QImage image = original.copy();
        QImage target(image.size(), QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::transparent);
        QPainter(&target).drawImage(0, 0, image);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// 0: brightness (straight colour), 1: hue rotation (premultiplied shortcut), 2: luminance to alpha.
BENCHMARK(BM_Naive)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorMatrix)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PainterCopy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runWithRatios(argc, argv,
                         {{"BM_ColorMatrix/0", "BM_Naive/0"},
                          {"BM_ColorMatrix/1", "BM_Naive/1"},
                          {"BM_ColorMatrix/2", "BM_Naive/2"},
                          {"BM_ColorMatrix/0", "BM_PainterCopy"},
                          {"BM_ColorMatrix/1", "BM_PainterCopy"}});
}
