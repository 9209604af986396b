// One frame (update and paint) of a 400 × 300 view vanishing, at progress 0.9 and 0.5, against
// the same dots filled once each, without their layers and blurs, in the same canvas.
#include "RatioReporter.h"

#include "Flair/VanishTransition.h"
#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/RecordingGraphicsBackend.h"
#include "ui/Renderer.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

const QSize surface(400, 300);
constexpr double frameBudget = 1.0 / 60;
const ui::AnyShapeStyle blue(ui::Color(0.1, 0.4, 1));

using Nudge = std::shared_ptr<std::optional<ui::State<int>>>;

Flair::Vanish vanishing(double progress) {
    return Flair::Vanish{progress, blue, std::nullopt, true, true};
}

// The dots' plain fills: each dot once, where the vanish draws it, with its opacity.
ui::Canvas::Renderer plainDots(double progress) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    ui::GraphicsContext recorder(backend);
    Flair::Vanish::drawDots(recorder, {surface.width() + 50.0, surface.height() + 50.0}, vanishing(progress));
    auto dots = std::make_shared<std::vector<ui::RecordingGraphicsBackend::Command>>();
    for (const auto& c : backend->commands())
        if (c.name == "fill" && c.state.filters.empty()) dots->push_back(c);
    return [dots](ui::GraphicsContext& ctx, graphics::CGSize) {
        for (const auto& dot : *dots) {
            ui::GraphicsContext one = ctx;
            one.setTransform(dot.state.transform);
            one.setOpacity(dot.state.opacity);
            one.fill(
                ui::Path::ellipseIn({{dot.numbers[0], dot.numbers[1]}, {dot.numbers[2], dot.numbers[3]}}),
                ui::GraphicsContext::Shading::style(blue));
        }
    };
}

// The view under the modifier at `progress`, or the plain dots; each frame nudges a state so
// the body runs again, as it does while the progress animates.
struct Stage {
    Nudge nudge;
    double progress;
    bool plain;
    ui::View body(ui::ViewContext& ctx) const {
        auto n = ctx.state<int>("nudge", 0);
        *nudge = n;
        const ui::View content = ui::View(ui::Color(0.1, 0.25, 0.95)).frame(400, 300);
        // Each frame moves the progress a little, as an animation does (the blur changes with
        // it, so nothing drawn for the last frame fits this one), by far less than a pixel's worth.
        const double p = progress - 1e-7 * *n;
        if (!plain) return content.modifier(vanishing(p));
        return content.opacity(0).overlay(
            ui::View(ui::Canvas(false, ui::ColorRenderingMode::nonLinear, false, plainDots(progress)))
                .padding(-Flair::Vanish::overhang)
                .opacity(1 - 1e-9 * (*n % 2)));
    }
};

void frames(benchmark::State& state, double progress, bool plain) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    auto nudge = std::make_shared<std::optional<ui::State<int>>>();
    ui::TestHost host(ui::View(Stage{nudge, progress, plain}),
                      {double(surface.width()), double(surface.height())});
    host.update();
    for (auto _ : state) {
        (*nudge)->set(***nudge + 1);
        host.update();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        ui::render(host.graph().displayList(), painter);
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

void vanishAt90(benchmark::State& state) {
    frames(state, 0.9, false);
}
void plainAt90(benchmark::State& state) {
    frames(state, 0.9, true);
}
void vanishAt50(benchmark::State& state) {
    frames(state, 0.5, false);
}
void plainAt50(benchmark::State& state) {
    frames(state, 0.5, true);
}

BENCHMARK(vanishAt90)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(plainAt90)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(vanishAt50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(plainAt50)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "flair_vanish_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(
        argc, argv,
        {{"vanishAt90/real_time", "plainAt90/real_time"}, {"vanishAt50/real_time", "plainAt50/real_time"}},
        {{"vanishAt90/real_time", frameBudget / 2, "half the frame budget"},
         {"vanishAt50/real_time", frameBudget / 2, "half the frame budget"}});
}
