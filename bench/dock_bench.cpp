// The dock tile's redraw: from a termination of the goal-list program, posted by the in-process
// workspace through the main queue, to the redrawn tile; and updateDockTile alone. The baseline,
// in the same run, is the least a redraw must do: read the suite file's bytes and decode the icon
// image with QImage. Goal: a median termination-to-redraw of at most 5 ms.
#include "RatioReporter.h"
#include "TemporaryHome.h"

#include "QuorilDockTilePlugin/QuorilDockTilePlugin.h"

#include "desktop/DockTile.h"
#include "desktop/RunningApplication.h"
#include "desktop/Workspace.h"

#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/UserDefaults.h"

#include <QImage>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const std::string appIdentifier = "org.quoril.Quoril";

struct Setup {
    std::shared_ptr<QuorilDockTilePlugin> plugin = std::make_shared<QuorilDockTilePlugin>();
    std::shared_ptr<desktop::DockTile> tile = std::make_shared<desktop::DockTile>();
    std::filesystem::path suiteFile;
    std::filesystem::path imageFile;

    Setup() {
        foundation::UserDefaults::make(appIdentifier)->setObject(std::string("\"blue\""), "dockIcon");
        suiteFile = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / (appIdentifier + ".plist");
        imageFile = plugin->dockTilePluginBundle()->resourcePath() / "BlueAppIcon@2x.png";
        plugin->setDockTile(tile);
    }
};

Setup& setup() {
    static Setup* const shared = new Setup();
    return *shared;
}

void BM_TerminationToRedraw(benchmark::State& state) {
    auto& s = setup();
    auto& center = desktop::Workspace::sharedWorkspace().notificationCenter();
    static pid_t pid = 1000; // across repetitions too
    for (auto _ : state) {
        // A new process id each time, so no two notifications in a row are equal.
        foundation::Notification termination{
            std::string(desktop::NSWorkspaceDidTerminateApplicationNotification),
            nullptr,
            {{std::string(desktop::NSWorkspaceApplicationKey),
              desktop::RunningApplication{appIdentifier, ++pid}}}};
        const auto before = s.tile->displayCount();
        foundation::DispatchQueue::main().async([&center, termination] { center.post(termination); });
        while (s.tile->displayCount() == before)
            foundation::RunLoop::main().runDue();
    }
}

void BM_UpdateDockTile(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state)
        s.plugin->updateDockTile(*s.tile);
}

void BM_RawReadAndDecode(benchmark::State& state) {
    auto& s = setup();
    for (auto _ : state) {
        std::ifstream in(s.suiteFile, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        benchmark::DoNotOptimize(bytes);
        QImage image(QString::fromStdString(s.imageFile.string()));
        benchmark::DoNotOptimize(image);
    }
}

BENCHMARK(BM_TerminationToRedraw)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateDockTile)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReadAndDecode)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);

// The median row of a benchmark's hundred single runs.
std::string runName(const std::string& benchmark) {
    return benchmark + "/iterations:1/repeats:100_median";
}

} // namespace

int main(int argc, char** argv) {
    // Its own settings and runtime folders, never the real ones.
    const TemporaryHome home("dock-bench", {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"});
    if (!home.isReady()) return 1;
    const int result = runWithRatios(argc, argv,
                                     {{runName("BM_TerminationToRedraw"), runName("BM_RawReadAndDecode")},
                                      {runName("BM_UpdateDockTile"), runName("BM_RawReadAndDecode")}});
    return result;
}
