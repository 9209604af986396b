// A list of 500 cards and a shelf of 500 cards, scrolled 20 points a frame (the scroll, update,
// layout and paint of a 400 × 600 window), against the same rows without the cards' background,
// clip and shadow. Goal: at most twice the plain rows, each frame within half the 16.7 ms budget.
#include "RatioReporter.h"

#include "ViewKit/ListCard.h"
#include "ViewKit/ListShelfSection.h"

#include "ui/Color.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

ui::View rowContent(int i) {
    return ui::View(ui::Text::verbatim("Goal " + std::to_string(i))).padding(12).frame(
        ui::FlexibleFrame{.maxWidth = 1e9, .alignment = ui::Alignment::leading});
}

ui::View row(int i, bool asCard) {
    if (!asCard) return rowContent(i);
    return ViewKit::ListCard([i] { return rowContent(i); });
}

ui::View shelfItem(int i, bool asCard) {
    const auto content = [i] { return ui::View(ui::Text::verbatim(std::to_string(i))).frame(80, 60); };
    if (!asCard) return content();
    return ViewKit::ListCard(content);
}

ui::View list(bool asCards) {
    return ui::List({ui::ForEach(0, 500, [asCards](int i) { return row(i, asCards); })});
}

ui::View shelf(bool asCards) {
    return ViewKit::ListShelfSection(
        std::nullopt, [] { return ui::View(ui::Text::verbatim("Shelf")); },
        [asCards] { return ui::ForEach(0, 500, [asCards](int i) { return shelfItem(i, asCards); }); });
}

// One frame per iteration: scroll 20 points (back to the start at the end), then paint.
void scrollFrames(benchmark::State& state, ui::View content, graphics::CGSize step) {
    ui::TestHost host(std::move(content), {400, 600});
    host.update();
    for (auto _ : state) {
        if (!host.scroll({200, 300}, step)) host.scroll({200, 300}, {-step.width * 1e6, -step.height * 1e6});
        QImage frame = host.render();
        benchmark::DoNotOptimize(frame);
    }
}

void BM_ListOfCards(benchmark::State& state) {
    scrollFrames(state, list(true), {0, 20});
}
void BM_ListOfPlainRows(benchmark::State& state) {
    scrollFrames(state, list(false), {0, 20});
}
void BM_ShelfOfCards(benchmark::State& state) {
    scrollFrames(state, shelf(true), {20, 0});
}
void BM_ShelfOfPlainItems(benchmark::State& state) {
    scrollFrames(state, shelf(false), {20, 0});
}

BENCHMARK(BM_ListOfCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListOfPlainRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShelfOfCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShelfOfPlainItems)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char name[] = "viewkit_list_bench";
    static char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv,
                         {{"BM_ListOfCards", "BM_ListOfPlainRows"}, {"BM_ShelfOfCards", "BM_ShelfOfPlainItems"}},
                         {{"BM_ListOfCards", 0.0083, "half a frame"}, {"BM_ShelfOfCards", 0.0083, "half a frame"}});
}
