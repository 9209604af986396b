// Points the XDG folders a benchmark touches at a temporary folder, so no run reads or writes
// the real ones; the folder goes when the object does.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

class TemporaryHome {
public:
    explicit TemporaryHome(const std::string& name,
                           std::initializer_list<const char*> variables = {"XDG_CONFIG_HOME"}) {
        std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) return;
        folder_ = pattern;
        for (const char* variable : variables) {
            const auto path = folder_ / variable;
            std::filesystem::create_directories(path);
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
            setenv(variable, path.c_str(), 1);
        }
    }
    ~TemporaryHome() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    bool isReady() const { return !folder_.empty(); }
    const std::filesystem::path& path() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// Runs the registered benchmarks with the settings folder in a temporary home.
inline int runBenchmarksInTemporaryHome(int argc, char** argv, const std::string& name) {
    const TemporaryHome home(name);
    if (!home.isReady()) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
