// A write observed by 1, 10 and 100 key observations against the same write observed by as many
// raw key-value observers of the suite, in the same run; "ratio" is observed time over raw time.
// Goal: <= 1.5x. Both ways run inside each iteration and the ratio comes from the sums, as the
// machine's load and the disk's latency drift while it runs.
#include "TemporaryHome.h"

#include <benchmark/benchmark.h>

#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/Observe.h"
#include "Prefs/ValueAccess.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// What a raw observer does with a change: takes the number out of the new value.
class RawObserver final : public foundation::KeyValueObserver {
public:
    explicit RawObserver(long& sum)
        : sum_(sum) {}
    void observeValue(std::string_view, foundation::Object*, const foundation::KeyValueChange& change,
                      void*) override {
        sum_ += change.newValue.number<long>().value_or(0);
    }

private:
    long& sum_;
};

void BM_ObservedWrite(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto suite = foundation::UserDefaults::make("com.example.observation-bench");
    const auto key = std::make_shared<Prefs::Key<long>>("observed", 0L, suite);
    const auto observers = state.range(0);
    long observedSum = 0, rawSum = 0;

    std::vector<std::shared_ptr<Prefs::_PrefsObservation>> observations;
    std::vector<std::shared_ptr<RawObserver>> raws;
    for (long i = 0; i < observers; ++i) {
        observations.push_back(Prefs::observe(
            key, {}, [&observedSum](const Prefs::KeyChange<long>& c) { observedSum += c.newValue(); }));
        raws.push_back(std::make_shared<RawObserver>(rawSum));
        suite->addObserver(*raws.back(), "raw",
                           foundation::KeyValueObservingOption::newValue |
                               foundation::KeyValueObservingOption::oldValue,
                           nullptr);
    }

    double observedSeconds = 0, rawSeconds = 0;
    long i = 0;
    for (auto _ : state) {
        const long value = ++i;
        const auto t0 = Clock::now();
        Prefs::set(key, value);
        const auto t1 = Clock::now();
        suite->setObject(value, "raw");
        const auto t2 = Clock::now();
        const double observed = std::chrono::duration<double>(t1 - t0).count();
        observedSeconds += observed;
        rawSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(observed);
    }
    benchmark::DoNotOptimize(observedSum);
    benchmark::DoNotOptimize(rawSum);
    for (const auto& raw : raws)
        suite->removeObserver(*raw, "raw");
    if (observedSum != rawSum) state.SkipWithError("the two ways saw different writes");
    state.counters["observed_us"] = observedSeconds / double(i) * 1e6;
    state.counters["raw_us"] = rawSeconds / double(i) * 1e6;
    state.counters["ratio"] = observedSeconds / rawSeconds;
}

} // namespace

BENCHMARK(BM_ObservedWrite)->Arg(1)->Arg(10)->Arg(100)->UseManualTime();

int main(int argc, char** argv) {
    return runBenchmarksInTemporaryHome(argc, argv, "observation-bench");
}
