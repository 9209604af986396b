// The goal list's burn: one frame of its overlay at 400×350 points on a 2× screen (800×700
// pixels), laid out and painted through the visual effect with the program's "burn", against
// the same colour function as a plain one-thread loop over a QImage and against half a frame
// at 60 frames a second.
#include "RatioReporter.h"

#include "Views/BurnShader.h"

#include "ui/Rectangle.h"
#include "ui/ShaderLibrary.h"
#include "ui/TestHost.h"
#include "ui/VisualEffect.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>

namespace {

constexpr float burnTime = 0.5f, burnSeed = 4242;
constexpr int width = 800, height = 700;
constexpr double scale = 2;

// The baseline: every pixel on one thread, straight from the image's lines.
void plainLoop(benchmark::State& state) {
    QImage original(width, height, QImage::Format_ARGB32_Premultiplied);
    original.fill(QColor(51, 51, 51));
    const graphics::CGSize size{width / scale, height / scale};
    for (auto _ : state) {
        QImage image = original.copy();
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const QRgb p = line[x];
                const ui::ShaderColor c{qRed(p) / 255.f, qGreen(p) / 255.f, qBlue(p) / 255.f,
                                        qAlpha(p) / 255.f};
                const auto out =
                    quoril::burnColor({(x + 0.5) / scale, (y + 0.5) / scale}, c, size, burnTime, burnSeed);
                auto level = [](float v) { return int(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f); };
                line[x] = qRgba(level(out.red), level(out.green), level(out.blue), level(out.alpha));
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The overlay as the list draws it, with its size from layout.
void overlayFrame(benchmark::State& state) {
    quoril::registerBurnShader();
    auto overlay = ui::View(ui::Rectangle().fill(ui::Color(0.2, 0.2, 0.2)))
                       .visualEffect([](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
                           using A = ui::Shader::Argument;
                           return content.colorEffect(ui::ShaderLibrary::default_().shader(
                               "burn", {A::float2(proxy.size()), A::float_(0), A::float_(burnTime),
                                        A::float_(burnSeed)}));
                       });
    ui::TestHost host(overlay, {width / scale, height / scale});
    for (auto _ : state) {
        const QImage frame = host.render(scale);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

BENCHMARK(plainLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(overlayFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "burn_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"overlayFrame/real_time", "plainLoop/real_time"}},
                         {{"overlayFrame/real_time", 0.008, "half a frame at 60 Hz"}});
}
