// One pick in a font list of 2,000 families, updated and painted, against a list of 2,000
// plain rows in which one row changes, in the same run.
#include "RatioReporter.h"

#include "ViewKit/SystemFontListPicker.h"
#include "ViewKit/SystemFontPickerFont.h"
#include "ui/ForEach.h"
#include "ui/Frame.h"
#include "ui/List.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int rowCount = 2000;

std::string familyName(int i) {
    return "Family " + std::to_string(10000 + i).substr(1);
}

const std::vector<ViewKit::SystemFontPickerFont>& fonts() {
    static const auto all = [] {
        std::vector<ViewKit::SystemFontPickerFont> out;
        for (int i = 0; i < rowCount; ++i)
            out.emplace_back(familyName(i));
        return out;
    }();
    return all;
}

// The picker under a view that owns the selected name, as a caller would hold it.
struct FontScreen {
    std::shared_ptr<ui::Binding<std::string>> kept;
    ui::View body(ui::ViewContext& ctx) const {
        auto name = ctx.state<std::string>("name", familyName(0));
        *kept = name.binding();
        return ui::View(ViewKit::SystemFontListPicker(name.binding(), fonts(), false, 13));
    }
};

// Plain rows of the same names, one marked by the state.
struct PlainScreen {
    std::shared_ptr<ui::Binding<int>> kept;
    ui::View body(ui::ViewContext& ctx) const {
        auto marked = ctx.state<int>("marked", 0);
        *kept = marked.binding();
        const int chosen = *marked;
        std::vector<int> rows(rowCount);
        for (int i = 0; i < rowCount; ++i)
            rows[i] = i;
        return ui::List({ui::ForEach(rows, [chosen](int i) {
            return ui::View(ui::Text::verbatim(familyName(i) + (i == chosen ? " ✓" : "")));
        })});
    }
};

void BM_FontListPick(benchmark::State& state) {
    auto kept = std::make_shared<ui::Binding<std::string>>(ui::Binding<std::string>::constant(""));
    ui::TestHost host(ui::View(FontScreen{kept}).frame(300, 500), {300, 500});
    host.update();
    int i = 0;
    for (auto _ : state) {
        kept->set(familyName(++i % 2));
        host.update();
        benchmark::DoNotOptimize(host.render());
    }
}

void BM_BaselinePlainList(benchmark::State& state) {
    auto kept = std::make_shared<ui::Binding<int>>(ui::Binding<int>::constant(0));
    ui::TestHost host(ui::View(PlainScreen{kept}).frame(300, 500), {300, 500});
    host.update();
    int i = 0;
    for (auto _ : state) {
        kept->set(++i % 2);
        host.update();
        benchmark::DoNotOptimize(host.render());
    }
}

} // namespace

BENCHMARK(BM_FontListPick)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselinePlainList)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return runWithRatios(argc, argv, {{"BM_FontListPick/real_time", "BM_BaselinePlainList/real_time"}},
                         {{"BM_FontListPick/real_time", 0.5 / 60, "half a frame"}});
}
