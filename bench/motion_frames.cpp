// Frames of an implicit animation: 200 views fading and moving under one spring, updated and
// painted frame by frame, against painting the same rectangles by hand.
#include "RatioReporter.h"

#include "ui/Animation.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/Renderer.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QSize surface(400, 350);
constexpr int columns = 20;
constexpr int rows = 10;
constexpr double cellWidth = 20, cellHeight = 35;
constexpr double frameBudget = 1.0 / 60;
constexpr double travel = 10;

struct Flag {
    std::optional<ui::State<bool>> state;
};

// 200 rectangles; when `on`, each has faded to half and moved right.
struct Field {
    std::shared_ptr<Flag> flag;
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("on", false);
        flag->state = on;
        std::vector<ui::View> cells;
        cells.reserve(columns * rows);
        for (int i = 0; i < columns * rows; ++i) {
            const double x = (i % columns) * cellWidth + cellWidth / 2;
            const double y = (i / columns) * cellHeight + cellHeight / 2;
            cells.push_back(ui::Rectangle()
                                .fill(ui::Color(0.2, 0.4, 0.8))
                                .frame(cellWidth - 2 - travel / 2, cellHeight - 2)
                                .position(x - travel / 2, y)
                                .opacity(*on ? 0.5 : 1.0)
                                .offset(*on ? travel : 0, 0));
        }
        return ui::ZStack(std::move(cells));
    }
};

void paint(ui::TestHost& host, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ui::render(host.graph().displayList(), painter);
}

void animatedFrames(benchmark::State& state) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    auto flag = std::make_shared<Flag>();
    ui::TestHost host(Field{flag}, {double(surface.width()), double(surface.height())});
    const auto spring = ui::Animation::spring(0.5, 0.825);
    auto retarget = [&] {
        ui::withAnimation(spring, [&] { flag->state->set(!flag->state->value()); });
        host.update();
    };
    retarget();
    double seconds = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // Sent back the other way once it has settled, so every frame animates.
        if (!host.frameClock().hasSubscribers()) retarget();
        host.stepFrame();
        paint(host, image);
        benchmark::DoNotOptimize(image.bits());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++frames;
    }
    state.counters["frame_ms"] = 1000 * seconds / double(frames);
    state.counters["of_budget"] = seconds / double(frames) / frameBudget;
}

// The same 200 rectangles at one moment of the motion, painted directly.
void handPainted(benchmark::State& state) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    double t = 0;
    for (auto _ : state) {
        t = t > 1 ? 0 : t + 0.05;
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgbF(0.2, 0.4, 0.8));
        painter.setOpacity(1 - 0.5 * t);
        for (int i = 0; i < columns * rows; ++i) {
            const double x = (i % columns) * cellWidth + 1 + t * travel;
            const double y = (i / columns) * cellHeight + 1;
            painter.drawRect(QRectF(x, y, cellWidth - 2 - travel / 2, cellHeight - 2));
        }
        benchmark::DoNotOptimize(image.bits());
    }
}

BENCHMARK(animatedFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(handPainted)->Unit(benchmark::kMicrosecond);

} // namespace
