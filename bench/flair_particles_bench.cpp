// One frame (clock step, update, paint of 800 × 600) of 100 cards of 100 × 40, each under a
// particle effect or the shine — 25 stroke pulses of three, 25 rises of three particles, 25
// sprays of two bursts, 25 shines mid-sweep — against the same cards with their effects at rest.
#include "RatioReporter.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/ChangeEffect.h"
#include "ui/Circle.h"
#include "ui/Color.h"
#include "ui/Group.h"
#include "ui/Rectangle.h"
#include "ui/Renderer.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
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

const QSize surface(800, 600);
constexpr int cards = 100, perRow = 8;
constexpr double cardWidth = 100, cardHeight = 40;
constexpr double frameBudget = 1.0 / 60;
// Frames between the changes of each kind of card, within its effect's life and past its
// cooldown: a burst of three pulses at a time (2.4 s), three rising particles (1.3 s each), two
// spray bursts (1.3 s each), a shine always sweeping (1 s).
constexpr int framesPerChange[4] = {144, 27, 39, 48};

using Values = std::vector<std::optional<ui::State<int>>>;

ui::View particles() {
    return ui::Group({ui::Circle().fill(ui::Color(0.9, 0.2, 0.2)).frame(10, 10),
                      ui::RoundedRectangle(3).fill(ui::Color(1, 0.6, 0)).frame(10, 10),
                      ui::Circle().fill(ui::Color(0.6, 0.2, 0.8)).frame(10, 6)});
}

Flair::AnyChangeEffect effectFor(int i) {
    using Effect = Flair::AnyChangeEffect;
    switch (i % 4) {
    case 0:
        return Effect::pulse(ui::RoundedRectangle(6), ui::Color(0.1, 0.6, 1),
                             Effect::PulseDrawingMode::stroke, 3, Flair::ParticleLayer::local);
    case 1:
        return Effect::rise(ui::UnitPoint::top, particles);
    case 2:
        return Effect::spray(ui::UnitPoint::center, Flair::ParticleLayer::local, particles);
    default:
        return Effect::shine();
    }
}

struct Card {
    int index;
    std::shared_ptr<Values> values;
    ui::View body(ui::ViewContext& ctx) const {
        auto value = ctx.state<int>("value", 0);
        (*values)[index] = value;
        return ui::RoundedRectangle(6).fill(ui::Color(0.1, 0.25, 0.95)).frame(cardWidth - 4, cardHeight - 4) |
               Flair::changeEffect(effectFor(index), *value, [](const int&) { return true; });
    }
};

struct Field {
    std::shared_ptr<Values> values;
    ui::View body(ui::ViewContext&) const {
        std::vector<ui::View> rows;
        for (int row = 0; row * perRow < cards; ++row) {
            std::vector<ui::View> cells;
            for (int i = row * perRow; i < std::min(cards, (row + 1) * perRow); ++i)
                cells.push_back(ui::View(Card{i, values}).frame(cardWidth, cardHeight));
            rows.push_back(ui::HStack(ui::VerticalAlignment::center, 0, std::move(cells)));
        }
        return ui::VStack(ui::HorizontalAlignment::leading, 0, std::move(rows));
    }
};

void paint(ui::TestHost& host, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ui::render(host.graph().displayList(), painter);
}

void frames(benchmark::State& state, bool live) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    auto values = std::make_shared<Values>(cards);
    ui::TestHost host(Field{values}, {double(surface.width()), double(surface.height())});
    // Changes the cards whose turn it is at `frame`.
    const auto change = [&](int frame) {
        bool changed = false;
        for (int i = 0; i < cards; ++i) {
            if (frame % framesPerChange[i % 4] != 0) continue;
            auto& value = (*values)[i];
            value->set(**value + 1);
            changed = true;
        }
        if (changed) host.update();
    };
    int frame = 0;
    if (live) {
        // Long enough for every kind to carry its full load.
        for (; frame < 2 * framesPerChange[0]; ++frame) {
            change(frame);
            host.stepFrame();
        }
    }
    for (auto _ : state) {
        if (live) {
            state.PauseTiming();
            change(frame);
            state.ResumeTiming();
        }
        host.stepFrame();
        paint(host, image);
        benchmark::DoNotOptimize(image.bits());
        ++frame;
    }
}

void liveFrames(benchmark::State& state) {
    frames(state, true);
}
void restingFrames(benchmark::State& state) {
    frames(state, false);
}

BENCHMARK(liveFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(restingFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "flair_particles_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"liveFrames/real_time", "restingFrames/real_time"}},
                         {{"liveFrames/real_time", frameBudget / 2, "half the frame budget"}});
}
