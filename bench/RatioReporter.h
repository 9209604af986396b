#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A benchmark whose real time per iteration must stay within a fixed time, such as a frame.
struct TimeBudget {
    std::string name;
    double seconds;
    std::string label; // how the budget is named in the report
};

// Reports as the console does, then each measured benchmark against its baseline from the same
// run, as a ratio of real time per iteration, and against its time budget.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs,
                           std::vector<TimeBudget> budgets = {})
        : pairs_(std::move(pairs))
        , budgets_(std::move(budgets)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            seconds_[run.benchmark_name()] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [measured, baseline] : pairs_) {
            auto m = times_.find(measured);
            auto b = times_.find(baseline);
            if (m == times_.end() || b == times_.end() || b->second <= 0) continue;
            std::printf("%s / %s = %.2f\n", measured.c_str(), baseline.c_str(), m->second / b->second);
        }
        for (const auto& budget : budgets_) {
            auto m = seconds_.find(budget.name);
            if (m == seconds_.end() || budget.seconds <= 0) continue;
            std::printf("%s / %s (%.1f ms) = %.2f\n", budget.name.c_str(), budget.label.c_str(),
                        budget.seconds * 1e3, m->second / budget.seconds);
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::vector<TimeBudget> budgets_;
    std::map<std::string, double> times_;
    std::map<std::string, double> seconds_;
};

inline int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs,
                         std::vector<TimeBudget> budgets = {}) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(std::move(pairs), std::move(budgets));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
