// Decoding a JSON array of 10,000 ISO 8601 dates (milliseconds and whole seconds mixed) with the
// ISO date decoder, against reading the same texts with date::parse in the same run.
#include "RatioReporter.h"

#include "ViewKit/ISO8601DateCoding.h"

#include <date/date.h>

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& dateTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> out;
        std::uint32_t state = 2024;
        for (int i = 0; i < 10'000; ++i) {
            state = state * 1664525u + 1013904223u;
            const auto when =
                date::sys_seconds(std::chrono::seconds(1'500'000'000 + std::int64_t(state % 400'000'000)));
            const auto milliseconds = std::chrono::milliseconds(state % 1000);
            out.push_back(i % 2 == 0 ? date::format("%Y-%m-%dT%H:%M:%S+0000", when + milliseconds)
                                     : date::format("%Y-%m-%dT%H:%M:%S+0000", when));
        }
        return out;
    }();
    return texts;
}

const std::string& jsonArray() {
    static const std::string json = [] {
        std::string out = "[";
        for (const auto& text : dateTexts()) {
            if (out.size() > 1) out += ',';
            out += '"' + text + '"';
        }
        return out + "]";
    }();
    return json;
}

void BM_ISODateDecoder(benchmark::State& state) {
    const std::string& json = jsonArray();
    for (auto _ : state)
        benchmark::DoNotOptimize(ViewKit::iso8601DateDecoder().decode<std::vector<foundation::Date>>(json));
}

void BM_BaselineDateParse(benchmark::State& state) {
    const auto& texts = dateTexts();
    for (auto _ : state) {
        std::vector<date::sys_time<std::chrono::milliseconds>> dates;
        dates.reserve(texts.size());
        for (const auto& text : texts) {
            std::istringstream in(text);
            date::sys_time<std::chrono::milliseconds> when;
            in >> date::parse("%FT%T%z", when);
            dates.push_back(when);
        }
        benchmark::DoNotOptimize(dates);
    }
}

} // namespace

BENCHMARK(BM_ISODateDecoder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineDateParse)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return runWithRatios(argc, argv, {{"BM_ISODateDecoder/real_time", "BM_BaselineDateParse/real_time"}});
}
