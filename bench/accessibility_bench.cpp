// What listening assistive technology costs the goal list's frames, offscreen at 400×350.
//
// One frame after a goal of 1,000 changes its flag (update, layout, paint) in a hosting window
// that assistive technology reads, against the same frame in one it does not. Goal: ≤ 1.2×.
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
#include "ui/AccessibilityTree.h"
#include "ui/HostingWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Window {
    std::shared_ptr<store::ModelContainer> container;
    std::vector<std::shared_ptr<quoril::Item>> goals;
    std::unique_ptr<ui::HostingWindow> window;

    explicit Window(bool read) {
        store::ModelConfiguration configuration;
        configuration.isStoredInMemoryOnly = true;
        container = std::make_shared<store::ModelContainer>(quoril::quorilSchema(), configuration);
        auto context = container->mainContext();
        context->setAutosaveEnabled(false);
        auto collection = std::make_shared<quoril::ItemCollection>("Quoril");
        context->insert(collection);
        for (int i = 0; i < 1000; ++i) {
            goals.push_back(std::make_shared<quoril::Item>(
                foundation::Date::now(), "Goal " + std::to_string(i + 1), false, false, std::nullopt, i));
            goals.back()->setCollection(collection);
            context->insert(goals.back());
        }
        window = std::make_unique<ui::HostingWindow>(
            ui::View(quoril::ContentView{collection})
                .environmentObject(std::make_shared<quoril::CommandManager>())
                .environmentObject(std::make_shared<quoril::ModifierKeyManager>()) |
            store::modelContainer(container));
        window->resize(400, 350);
        window->updateNow();
        if (read) {
            // As a screen reader does: the whole tree once, then it listens.
            walk(QAccessible::queryAccessibleInterface(window.get()));
        }
    }
    static void walk(QAccessibleInterface* iface) {
        for (int i = 0; iface && i < iface->childCount(); ++i)
            walk(iface->child(i));
    }
    void frame(int turn) {
        // The last goal shown flips between waiting and in progress, so it stays where it is.
        goals[8]->setInProgress(turn % 2 == 0);
        window->updateNow();
        QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
        window->render(&image);
        benchmark::DoNotOptimize(image);
    }
};

void BM_FrameWithoutAssistiveTechnology(benchmark::State& state) {
    ui::overrideAccessibilityActive(false);
    Window window(false);
    int turn = 0;
    for (auto _ : state)
        window.frame(turn++);
    ui::overrideAccessibilityActive(std::nullopt);
}

void BM_FrameWithAssistiveTechnology(benchmark::State& state) {
    ui::overrideAccessibilityActive(true);
    std::size_t told = 0;
    ui::setAccessibilityAnnouncer([&told](QAccessibleEvent&) { ++told; });
    Window window(true);
    int turn = 0;
    for (auto _ : state)
        window.frame(turn++);
    state.counters["announcements"] = benchmark::Counter(double(told), benchmark::Counter::kAvgIterations);
    ui::setAccessibilityAnnouncer({});
    ui::overrideAccessibilityActive(std::nullopt);
}

BENCHMARK(BM_FrameWithAssistiveTechnology)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameWithoutAssistiveTechnology)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int qtArgc = 1;
    static char name[] = "accessibility_bench";
    static char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv,
                         {{"BM_FrameWithAssistiveTechnology", "BM_FrameWithoutAssistiveTechnology"}});
}
