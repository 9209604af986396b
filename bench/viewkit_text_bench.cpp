// A long text with coloured replacements laid out and painted, against the plain text of the
// same string in the same run.
#include "RatioReporter.h"

#include "ViewKit/TextReplacement.h"
#include "ui/Frame.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// 2,000 words, every tenth the placeholder.
const std::string& sample() {
    static const std::string text = [] {
        std::string s;
        for (int i = 0; i < 2000; ++i)
            s += (i % 10 == 0 ? "{name}" : "word" + std::to_string(i % 7)) + " ";
        return s;
    }();
    return text;
}

void layOutAndPaint(benchmark::State& state, const ui::View& view) {
    for (auto _ : state) {
        ui::TestHost host(view.frame(400, std::nullopt, ui::Alignment::topLeading).fixedSize(false, true), {400, 4000});
        host.update();
        benchmark::DoNotOptimize(host.render());
    }
}

void BM_TextReplacement(benchmark::State& state) {
    const ViewKit::TextReplacement replaced(sample(), "{name}", [](const std::string& target) {
        return ui::Text::verbatim(target).foregroundColor(QColor(200, 40, 40));
    });
    layOutAndPaint(state, ui::View(replaced));
}

void BM_BaselinePlainText(benchmark::State& state) {
    layOutAndPaint(state, ui::View(ui::Text::verbatim(sample())));
}

} // namespace

BENCHMARK(BM_TextReplacement)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselinePlainText)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return runWithRatios(argc, argv, {{"BM_TextReplacement/real_time", "BM_BaselinePlainText/real_time"}});
}
