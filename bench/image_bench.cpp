// JPEG export of a 4,000 × 3,000 image at 400 pixels wide and quality 0.8, against scaling the
// same pixels with QImage::scaled (smooth) and writing them with QImageWriter in the same run.
#include "RatioReporter.h"

#include "ViewKit/ImageResizing.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace {

const ViewKit::ImagePointer& photo() {
    static const ViewKit::ImagePointer image = [] {
        QImage pixels(4000, 3000, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                row[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
        }
        return std::make_shared<const graphics::Image>(std::move(pixels));
    }();
    return image;
}

void BM_JPEGDataAtWidth(benchmark::State& state) {
    const auto& image = photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(ViewKit::jpegData(image, 400, 0.8));
}

void BM_BaselineScaledAndWritten(benchmark::State& state) {
    const QImage& pixels = photo()->qImage();
    for (auto _ : state) {
        const QImage scaled = pixels.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(80);
        writer.write(scaled);
        benchmark::DoNotOptimize(buffer.data());
    }
}

} // namespace

BENCHMARK(BM_JPEGDataAtWidth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineScaledAndWritten)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return runWithRatios(argc, argv, {{"BM_JPEGDataAtWidth/real_time", "BM_BaselineScaledAndWritten/real_time"}});
}
