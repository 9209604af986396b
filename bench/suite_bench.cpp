// Suite reads and writes against QSettings on an INI file in the same temporary folder. Reads:
// goal <= 1x; they check for other processes' saves by the mapped save count, not a stat call.
// Writes, with one observer: goal <= 2x; durable on both sides, as a suite write reaches the
// disk before it returns, so the baseline syncs after each setValue.
#include "RatioReporter.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/UserDefaults.h"

#include <QSettings>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

std::filesystem::path benchFolder;

class CountingObserver : public foundation::KeyValueObserver {
public:
    void observeValue(std::string_view, foundation::Object*, const foundation::KeyValueChange& change,
                      void*) override {
        if (!change.newValue.isAbsent()) ++count;
    }
    long count = 0;
};

std::shared_ptr<foundation::UserDefaults> makeSuite() {
    auto suite = foundation::UserDefaults::make("com.example.bench");
    suite->registerDefaults({{"flag", true}});
    suite->setObject("a stored text value", "name");
    for (int i = 0; i < 20; ++i)
        suite->setObject(i, "filler" + std::to_string(i));
    return suite;
}

std::unique_ptr<QSettings> makeSettings() {
    auto settings = std::make_unique<QSettings>(QString::fromStdString((benchFolder / "bench.ini").string()),
                                                QSettings::IniFormat);
    settings->setValue("name", "a stored text value");
    for (int i = 0; i < 20; ++i)
        settings->setValue(QString("filler%1").arg(i), i);
    settings->sync();
    return settings;
}

void BM_SuiteReadRegisteredBool(benchmark::State& state) {
    const auto suite = makeSuite();
    for (auto _ : state)
        benchmark::DoNotOptimize(suite->objectForKey("flag").boolValue());
}

void BM_QSettingsReadDefaultBool(benchmark::State& state) {
    const auto settings = makeSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(settings->value("flag", true).toBool());
}

void BM_SuiteReadStoredString(benchmark::State& state) {
    const auto suite = makeSuite();
    for (auto _ : state) {
        const auto value = suite->objectForKey("name");
        benchmark::DoNotOptimize(value.string());
    }
}

void BM_QSettingsReadStoredString(benchmark::State& state) {
    const auto settings = makeSettings();
    for (auto _ : state) {
        const QString value = settings->value("name").toString();
        benchmark::DoNotOptimize(value.size());
    }
}

// Disk latency drifts while the benchmark runs, so every iteration makes one write of each
// kind and the ratio comes from the sums.
void BM_SuiteWriteObservedAgainstQSettings(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto suite = makeSuite();
    const auto settings = makeSettings();
    const auto observer = std::make_shared<CountingObserver>();
    suite->addObserver(*observer, "counter", foundation::KeyValueObservingOption::newValue, nullptr);
    double suiteSeconds = 0, settingsSeconds = 0;
    long i = 0;
    for (auto _ : state) {
        ++i;
        const auto a = Clock::now();
        suite->setObject(i, "counter");
        const auto b = Clock::now();
        settings->setValue("counter", qlonglong(i));
        settings->sync();
        const auto c = Clock::now();
        const double suiteWrite = std::chrono::duration<double>(b - a).count();
        suiteSeconds += suiteWrite;
        settingsSeconds += std::chrono::duration<double>(c - b).count();
        state.SetIterationTime(suiteWrite);
    }
    suite->removeObserver(*observer, "counter");
    if (observer->count != i) state.SkipWithError("a write was not observed");
    const double ratio = suiteSeconds / settingsSeconds;
    state.counters["suite_us"] = suiteSeconds / double(i) * 1e6;
    state.counters["qsettings_us"] = settingsSeconds / double(i) * 1e6;
    state.counters["ratio"] = ratio;
    char label[64];
    std::snprintf(label, sizeof label, "%.2fx QSettings (goal <= 2x)", ratio);
    state.SetLabel(label);
}

} // namespace

BENCHMARK(BM_SuiteReadRegisteredBool);
BENCHMARK(BM_QSettingsReadDefaultBool);
BENCHMARK(BM_SuiteReadStoredString);
BENCHMARK(BM_QSettingsReadStoredString);
BENCHMARK(BM_SuiteWriteObservedAgainstQSettings)->UseManualTime();

int main(int argc, char** argv) {
    // Never the real configuration folder.
    std::string pattern = (std::filesystem::temp_directory_path() / "suite-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    benchFolder = pattern;
    setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    const int result = runWithRatios(argc, argv,
                                     {{"BM_SuiteReadRegisteredBool", "BM_QSettingsReadDefaultBool"},
                                      {"BM_SuiteReadStoredString", "BM_QSettingsReadStoredString"}});
    std::error_code ignored;
    std::filesystem::remove_all(benchFolder, ignored);
    return result;
}
