// The goal list's frames, offscreen at 400×350.
//
// Adding a goal to 1,000: the frame after the insert (update, layout, paint), against a
// hand-written QPainter list of the same visible rows in the same run. Goal: ≤ 3×.
// Scrolling 10,000 goals a row a frame (the scroll, update, layout and paint). Goal: a median
// of ≤ 8 ms a frame.
#include "RatioReporter.h"

#include "App/CommandManager.h"
#include "App/ModifierKeyManager.h"
#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"
#include "Views/ContentView.h"

#include "foundation/Date.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "store/ui/ModelContainerModifier.h"
#include "ui/TestHost.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <memory>
#include <string>

namespace {

constexpr graphics::CGSize windowSize{400, 350};

// A list over an in-memory store holding `count` goals.
struct GoalList {
    std::shared_ptr<store::ModelContainer> container;
    std::shared_ptr<quoril::ItemCollection> collection;
    std::unique_ptr<ui::TestHost> host;

    explicit GoalList(int count) {
        store::ModelConfiguration configuration;
        configuration.isStoredInMemoryOnly = true;
        container = std::make_shared<store::ModelContainer>(quoril::quorilSchema(), configuration);
        context()->setAutosaveEnabled(false);
        collection = std::make_shared<quoril::ItemCollection>("Quoril");
        context()->insert(collection);
        for (int i = 0; i < count; ++i)
            add("Goal " + std::to_string(i + 1), i);
        host = std::make_unique<ui::TestHost>(ui::View(quoril::ContentView{collection})
                                                  .environmentObject(std::make_shared<quoril::CommandManager>())
                                                  .environmentObject(std::make_shared<quoril::ModifierKeyManager>()) |
                                                  store::modelContainer(container),
                                              windowSize);
        host->stepFrames(60);
    }
    const std::shared_ptr<store::ModelContext>& context() const { return container->mainContext(); }
    std::shared_ptr<quoril::Item> add(std::string title, std::int64_t index) {
        auto goal = std::make_shared<quoril::Item>(foundation::Date::now(), std::move(title), false, false,
                                                   std::nullopt, index);
        goal->setCollection(collection);
        context()->insert(goal);
        return goal;
    }
};

void BM_FrameAfterAddingAGoalToAThousand(benchmark::State& state) {
    GoalList list(1000);
    std::int64_t next = 1000;
    for (auto _ : state) {
        auto goal = list.add("", next++);
        list.host->update();
        QImage frame = list.host->render();
        benchmark::DoNotOptimize(frame);
        state.PauseTiming();
        list.context()->deleteModel(goal);
        list.host->stepFrames(30);
        state.ResumeTiming();
    }
}

// The same visible rows drawn by hand: background, title, two rings and a separator each.
void BM_HandPaintedRows(benchmark::State& state) {
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    const int rowHeight = 40;
    for (auto _ : state) {
        QImage frame(400, 350, QImage::Format_ARGB32_Premultiplied);
        frame.fill(QColor(30, 30, 30));
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(font);
        for (int row = 0; row * rowHeight < 350; ++row) {
            const int top = row * rowHeight;
            painter.setPen(QColor(255, 255, 255, 180));
            painter.drawText(QRect(18, top + 12, 280, 16), Qt::AlignLeft | Qt::AlignVCenter,
                             QString("Goal %1").arg(row + 1));
            painter.setPen(QPen(QColor(252, 199, 46), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRectF(400 - 18 - 40, top + 12, 16, 16));
            painter.drawEllipse(QRectF(400 - 18 - 16, top + 12, 16, 16));
            painter.setPen(QColor(255, 255, 255, 25));
            painter.drawLine(18, top + rowHeight, 400 - 18, top + rowHeight);
        }
        painter.end();
        benchmark::DoNotOptimize(frame);
    }
}

// Each repetition is one frame, so the report's median is the median frame.
void BM_ScrollingTenThousandGoalsARowAFrame(benchmark::State& state) {
    static GoalList list(10000);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!list.host->scroll({200, 175}, {0, 44})) list.host->scroll({200, 175}, {0, -1e9});
        QImage frame = list.host->render();
        benchmark::DoNotOptimize(frame);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

BENCHMARK(BM_FrameAfterAddingAGoalToAThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandPaintedRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollingTenThousandGoalsARowAFrame)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly()
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char name[] = "goal_list_bench";
    static char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"BM_FrameAfterAddingAGoalToAThousand", "BM_HandPaintedRows"}},
                         {{"BM_ScrollingTenThousandGoalsARowAFrame/iterations:1/repeats:200/manual_time_median", 0.008,
                           "8 ms a frame"}});
}
