// A page view of 20 pages at 400 × 300, each a column of 30 text lines, turning a page: the
// frames of the animation (update and paint), against a page view of one such page. Goal: at
// most twice the single page, each frame within the 16.7 ms budget.
#include "RatioReporter.h"

#include "ViewKit/PageView.h"

#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

ui::View column(int page) {
    std::vector<ui::View> lines;
    for (int i = 0; i < 30; ++i)
        lines.push_back(ui::Text::verbatim("Page " + std::to_string(page) + ", line " + std::to_string(i)));
    return ui::VStack(ui::HorizontalAlignment::leading, 0, lines);
}

struct Pager {
    int count = 1;
    std::shared_ptr<std::optional<ui::State<int>>> index;
    ui::View body(ui::ViewContext& ctx) const {
        auto state = ctx.state<int>("index", 0);
        *index = state;
        std::vector<ui::View> pages;
        for (int i = 0; i < count; ++i)
            pages.push_back(column(i));
        return ViewKit::PageView(pages, state.binding(), ViewKit::PageIndicatorDisplayMode::automatic);
    }
};

// One frame per iteration; every 30 frames the index turns one page on (or back to 0).
void turningFrames(benchmark::State& state, int count) {
    auto index = std::make_shared<std::optional<ui::State<int>>>();
    ui::TestHost host(ui::View(Pager{count, index}), {400, 300});
    host.update();
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % 30 == 0) {
            const int now = (*index)->value();
            (*index)->set(count > 1 && now < 1 ? now + 1 : 0);
            host.update();
        }
        host.stepFrame();
        QImage image = host.render();
        benchmark::DoNotOptimize(image);
    }
}

void BM_TurningTwentyPages(benchmark::State& state) {
    turningFrames(state, 20);
}
void BM_OnePage(benchmark::State& state) {
    turningFrames(state, 1);
}

BENCHMARK(BM_TurningTwentyPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char name[] = "viewkit_paging_bench";
    static char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"BM_TurningTwentyPages", "BM_OnePage"}},
                         {{"BM_TurningTwentyPages", 0.0167, "a frame"}});
}
