// One frame (clock step, update, paint of 800 × 600) of 10 cards of 200 × 50 smoking in steady
// state (2 s after switching on: three emitters of about 60 puffs in each of two copies per
// card), against the same cards 2 s after switching off.
#include "RatioReporter.h"

#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "ui/Color.h"
#include "ui/Renderer.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

const QSize surface(800, 600);
constexpr double frameBudget = 1.0 / 60;

// Two columns of five cards, with room above each for its smoke.
ui::View field(bool on) {
    std::vector<ui::View> columns;
    for (int column = 0; column < 2; ++column) {
        std::vector<ui::View> cards;
        for (int row = 0; row < 5; ++row)
            cards.push_back(ui::RoundedRectangle(8).fill(ui::Color(0.1, 0.25, 0.95)).frame(200, 50) |
                            Flair::conditionalEffect(Flair::AnyConditionalEffect::smoke(), on));
        columns.push_back(ui::VStack(ui::HorizontalAlignment::center, 60, std::move(cards)));
    }
    return ui::HStack(ui::VerticalAlignment::bottom, 200, std::move(columns)).frame(800, 600, ui::Alignment::bottom);
}

void frames(benchmark::State& state, bool smoking) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    ui::TestHost host(field(true), {double(surface.width()), double(surface.height())});
    for (int i = 0; i < 120; ++i)
        host.stepFrame();
    if (!smoking) {
        host.setRoot(field(false));
        host.update();
        for (int i = 0; i < 120; ++i)
            host.stepFrame();
    }
    for (auto _ : state) {
        host.stepFrame();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        ui::render(host.graph().displayList(), painter);
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

void smokingFrames(benchmark::State& state) {
    frames(state, true);
}
void restingFrames(benchmark::State& state) {
    frames(state, false);
}

BENCHMARK(smokingFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(restingFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "flair_smoke_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"smokingFrames/real_time", "restingFrames/real_time"}},
                         {{"smokingFrames/real_time", frameBudget / 2, "half the frame budget"}});
}
