// The size and URLs of a folder of 10,000 files through the directory file manager, against a
// std::filesystem::directory_iterator loop that asks each entry's file_size.
#include "RatioReporter.h"
#include "TemporaryHome.h"

#include "ViewKit/DirectoryFileManager.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

std::filesystem::path folder;

void BM_TotalSize(benchmark::State& state) {
    const ViewKit::DirectoryFileManager files(foundation::URL::fileURLWithPath(folder, true));
    for (auto _ : state) benchmark::DoNotOptimize(files.totalSize());
}

void BM_FileUrls(benchmark::State& state) {
    const ViewKit::DirectoryFileManager files(foundation::URL::fileURLWithPath(folder, true));
    for (auto _ : state) benchmark::DoNotOptimize(files.fileUrls());
}

void BM_BaselineDirectoryIterator(benchmark::State& state) {
    for (auto _ : state) {
        std::uint64_t total = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) total += entry.file_size();
        benchmark::DoNotOptimize(total);
    }
}

} // namespace

BENCHMARK(BM_TotalSize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileUrls)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineDirectoryIterator)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    const TemporaryHome home("files_bench", {});
    if (!home.isReady()) return 1;
    folder = home.path() / "files";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 10000; ++i)
        std::ofstream(folder / ("file-" + std::to_string(i) + ".txt")) << std::string(std::size_t(i % 97), 'x');
    return runWithRatios(argc, argv,
                         {{"BM_TotalSize/real_time", "BM_BaselineDirectoryIterator/real_time"},
                          {"BM_FileUrls/real_time", "BM_BaselineDirectoryIterator/real_time"}});
}
