// Motion and effects against baselines from the same run and against the frame budget.
//
// Shaders: a burn-like colour function over an 800×700-pixel layer, against the same arithmetic
// written as a plain loop over a QImage; and a whole frame of a window-sized (400×350) overlay
// drawn through a visual effect with that shader, at one and two pixels a point, against the
// 16.7 ms of a frame at 60 frames a second.
#include "RatioReporter.h"

#include "ui/Rectangle.h"
#include "ui/Shader.h"
#include "ui/ShaderPass.h"
#include "ui/TestHost.h"
#include "ui/VisualEffect.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double frameBudget = 1.0 / 60;

// ---- Shaders ----------------------------------------------------------------------------------

// A lattice point's value in [0, 1): an integer mix of its coordinates and the seed.
float hash(float x, float y, float seed) {
    std::uint32_t h = std::uint32_t(std::int32_t(x)) * 0x8da6b343u ^ std::uint32_t(std::int32_t(y)) * 0xd8163841u ^
                      std::uint32_t(std::int32_t(seed)) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// Smooth value noise: hashed lattice corners blended with a smoothstep.
float noise(float x, float y, float seed) {
    const float ix = std::floor(x), iy = std::floor(y);
    const float fx = x - ix, fy = y - iy;
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    const float a = hash(ix, iy, seed), b = hash(ix + 1, iy, seed);
    const float c = hash(ix, iy + 1, seed), d = hash(ix + 1, iy + 1, seed);
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// What stays of a pixel at burn time `t`: the layer burns from the top down along a noisy
// front, with a glowing rim just ahead of the front.
ui::ShaderColor burnLike(float x, float y, ui::ShaderColor c, float height, float t, float seed) {
    const float n = 0.65f * noise(x / 23, y / 23, seed) + 0.35f * noise(x / 7, y / 7, seed);
    const float front = (t * 1.4f - 0.2f) * height;
    const float edge = (y - front) / 30 + (n - 0.5f);
    const float keep = smoothstep(0, 0.15f, edge);
    const float glow = (1 - smoothstep(0.15f, 0.5f, edge)) * keep;
    const ui::ShaderColor ember{1.0f * c.alpha, 0.45f * c.alpha, 0.05f * c.alpha, c.alpha};
    return ui::mix(c, ember, glow) * keep;
}

const ui::ShaderFunction burnFunction("burn", [](graphics::CGPoint p, ui::ShaderColor c,
                                                 const ui::ShaderArguments& args) {
    return burnLike(float(p.x), float(p.y), c, float(args.float2(0).y), float(args.float_(2)),
                    float(args.float_(3)));
});

constexpr float burnTime = 0.5f, burnSeed = 4242;

QImage darkLayer(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(51, 51, 51));
    return image;
}

// The baseline: the same arithmetic, inline, over every pixel on one thread.
void plainLoop(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage original = darkLayer(w, h);
    for (auto _ : state) {
        QImage image = original.copy();
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const QRgb p = line[x];
                const ui::ShaderColor c{qRed(p) / 255.f, qGreen(p) / 255.f, qBlue(p) / 255.f,
                                        qAlpha(p) / 255.f};
                const auto out = burnLike(x + 0.5f, y + 0.5f, c, float(h), burnTime, burnSeed);
                auto level = [](float v) { return int(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f); };
                line[x] = qRgba(level(out.red), level(out.green), level(out.blue), level(out.alpha));
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The shader pass of a colour effect over the same layer.
void shaderPass(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage original = darkLayer(w, h);
    ui::ShaderPass pass;
    pass.function = burnFunction;
    pass.arguments.append({double(w), double(h)});
    pass.arguments.append({0.0});
    pass.arguments.append({double(burnTime)});
    pass.arguments.append({double(burnSeed)});
    for (auto _ : state) {
        QImage image = original.copy();
        pass.run(image, QPoint(0, 0), QTransform());
        benchmark::DoNotOptimize(image.constBits());
    }
}

// A whole frame of the burn overlay as the goal list shows it: a dark rectangle whose visual
// effect applies the shader with the overlay's size, laid out and painted.
void burnOverlayFrame(benchmark::State& state) {
    const double scale = double(state.range(0));
    auto overlay = ui::Rectangle()
                       .fill(ui::Color(0.2, 0.2, 0.2))
                       .visualEffect([](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
                           using A = ui::Shader::Argument;
                           return content.colorEffect(
                               ui::Shader(burnFunction, {A::float2(proxy.size()), A::float_(0),
                                                         A::float_(burnTime), A::float_(burnSeed)}));
                       });
    ui::TestHost host(overlay, {400, 350});
    for (auto _ : state) {
        const QImage frame = host.render(scale);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

BENCHMARK(plainLoop)->Args({800, 700})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(shaderPass)->Args({800, 700})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(burnOverlayFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "motion_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv,
                         {{"shaderPass/800/700/real_time", "plainLoop/800/700/real_time"},
                          {"animatedFrames", "handPainted"}},
                         {{"burnOverlayFrame/1/real_time", frameBudget, "frame budget"},
                          {"burnOverlayFrame/2/real_time", frameBudget, "frame budget"},
                          {"animatedFrames", frameBudget, "frame budget"}});
}
