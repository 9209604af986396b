// Frames of 200 cards under simulated change effects, half shaking and half wiggling, kicked
// every 0.5 s so they never rest, against the same frame with every effect at rest. Each
// iteration is one frame: update and paint of an 800 × 600 surface.
#include "RatioReporter.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/ChangeEffect.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Renderer.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const QSize surface(800, 600);
constexpr int columns = 20;
constexpr int rows = 10;
constexpr double cellWidth = 40, cellHeight = 60;
constexpr double halfFrameBudget = 1.0 / 120;
constexpr int framesPerKick = 30; // 0.5 s at 60 Hz

struct Kicks {
    std::optional<ui::State<int>> count;
};

// 200 cards of 40 × 40 pt with a short text, every other one shaking, the rest wiggling, each
// time the kick count changes.
struct Cards {
    std::shared_ptr<Kicks> kicks;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("kicks", 0);
        kicks->count = count;
        const auto shake = Flair::AnyChangeEffect::shake();
        const auto wiggle = Flair::AnyChangeEffect::wiggle();
        std::vector<ui::View> cells;
        cells.reserve(columns * rows);
        for (int i = 0; i < columns * rows; ++i) {
            const ui::View card =
                ui::RoundedRectangle(6)
                    .fill(ui::Color(0.1, 0.25, 0.95))
                    .overlay(ui::Text("Go " + std::to_string(i)).font(ui::Font::custom("DejaVu Sans", 9)))
                    .frame(cellWidth, cellWidth);
            cells.push_back(
                card | Flair::changeEffect(i % 2 ? wiggle : shake, *count, [](const int&) { return true; }));
        }
        std::vector<ui::View> lines;
        for (int r = 0; r < rows; ++r)
            lines.push_back(ui::HStack(ui::VerticalAlignment::center, 0,
                                       std::vector<ui::View>(cells.begin() + r * columns,
                                                             cells.begin() + (r + 1) * columns))
                                .frame(std::nullopt, cellHeight));
        return ui::VStack(ui::HorizontalAlignment::center, 0, std::move(lines));
    }
};

void paint(ui::TestHost& host, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ui::render(host.graph().displayList(), painter);
}

void frames(benchmark::State& state, bool kicked) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    auto kicks = std::make_shared<Kicks>();
    ui::TestHost host(Cards{kicks}, {double(surface.width()), double(surface.height())});
    int frame = 0;
    double updating = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (kicked && frame % framesPerKick == 0) kicks->count->set(kicks->count->value() + 1);
        ++frame;
        host.stepFrame();
        updating += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        paint(host, image);
        benchmark::DoNotOptimize(image.bits());
    }
    // The share of the frame spent updating (the rest paints).
    state.counters["update_ms"] = 1000 * updating / double(frame);
    if (kicked && !host.frameClock().hasSubscribers()) state.SkipWithError("the effects came to rest");
}

void shakingFrames(benchmark::State& state) {
    frames(state, true);
}

void restingFrames(benchmark::State& state) {
    frames(state, false);
}

BENCHMARK(shakingFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(restingFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "flair_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"shakingFrames/real_time", "restingFrames/real_time"}},
                         {{"shakingFrames/real_time", halfFrameBudget, "half the frame budget"},
                          {"restingFrames/real_time", halfFrameBudget, "half the frame budget"}});
}
