// PassthroughSubject::send against the plainest fan-out there is, a loop over a vector of
// std::function, measured side by side in the same iterations. The ratio counter is the
// subject's time per send over the loop's.
#include "reactive/PassthroughSubject.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int sendsPerBatch = 1000;

using Clock = std::chrono::steady_clock;

void passthroughSubjectSend(benchmark::State& state) {
    const auto subscribers = static_cast<int>(state.range(0));
    std::int64_t plainSum = 0, subjectSum = 0;

    std::vector<std::function<void(int)>> plain;
    for (int i = 0; i < subscribers; ++i)
        plain.emplace_back([&plainSum](int v) { plainSum += v; });

    reactive::PassthroughSubject<int> subject;
    std::vector<reactive::AnyCancellable> cancellables;
    for (int i = 0; i < subscribers; ++i)
        subject.sink([&subjectSum](int v) { subjectSum += v; }).store(cancellables);

    double plainSeconds = 0, subjectSeconds = 0;
    for (auto _ : state) {
        const auto a = Clock::now();
        for (int v = 0; v < sendsPerBatch; ++v) {
            for (auto& f : plain)
                f(v);
            benchmark::ClobberMemory();
        }
        const auto b = Clock::now();
        for (int v = 0; v < sendsPerBatch; ++v) {
            subject.send(v);
            benchmark::ClobberMemory();
        }
        const auto c = Clock::now();
        plainSeconds += std::chrono::duration<double>(b - a).count();
        const double subjectBatch = std::chrono::duration<double>(c - b).count();
        subjectSeconds += subjectBatch;
        state.SetIterationTime(subjectBatch);
    }
    benchmark::DoNotOptimize(plainSum);
    benchmark::DoNotOptimize(subjectSum);
    if (plainSum != subjectSum) state.SkipWithError("the two fan-outs disagree");

    const double sends = double(state.iterations()) * sendsPerBatch;
    const double ratio = subjectSeconds / plainSeconds;
    state.counters["subject_ns"] = subjectSeconds / sends * 1e9;
    state.counters["plain_ns"] = plainSeconds / sends * 1e9;
    state.counters["ratio"] = ratio;
    char label[64];
    std::snprintf(label, sizeof label, "%.2fx the plain loop (goal <= 1.5x)", ratio);
    state.SetLabel(label);
}

} // namespace

BENCHMARK(passthroughSubjectSend)
    ->Name("PassthroughSubject.send")
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime();

BENCHMARK_MAIN();
