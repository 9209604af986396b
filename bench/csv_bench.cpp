// Parsing a 5 MB word list, some of it multi-byte text, against splitting the same bytes at
// '\n' and ',' with std::string_view::find into the same rows of strings.
#include "RatioReporter.h"

#include "ViewKit/CsvParser.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string& wordList() {
    static const std::string text = [] {
        const std::vector<std::string> words = {
            "apple",       "river",   "mountain", "bread",   "window", "garden",      "letter",
            "silver",      "thunder", "pencil",   "café",    "naïve",  "Zoë",         "Straße",
            "smörgåsbord", "日本語",  "Ελληνικά", "русский", "🍎",      "e\u0301cole",
        };
        std::string out;
        out.reserve(5u << 20);
        std::uint32_t state = 12345;
        const auto next = [&] {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        while (out.size() < (5u << 20)) {
            const int fields = 2 + int(next() % 4);
            for (int i = 0; i < fields; ++i) {
                if (i > 0) out += ',';
                // Mostly ASCII words, a multi-byte one in about one field of five.
                const auto pick = next() % 50;
                out += pick < 40 ? words[pick % 10] : words[10 + pick % 10];
                if (next() % 3 == 0) out += std::to_string(next() % 1000);
            }
            out += '\n';
        }
        return out;
    }();
    return text;
}

void BM_CsvParser(benchmark::State& state) {
    const ViewKit::CsvParser parser;
    const std::string& text = wordList();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.parseCsvString(text, ","));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

void BM_BaselineFindSplit(benchmark::State& state) {
    const std::string_view text = wordList();
    for (auto _ : state) {
        std::vector<std::vector<std::string>> rows;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view line = text.substr(start, end - start);
            start = end + 1;
            if (line.empty()) continue;
            std::vector<std::string> row;
            std::size_t from = 0;
            for (;;) {
                const std::size_t comma = line.find(',', from);
                const std::string_view field =
                    line.substr(from, comma == std::string_view::npos ? line.npos : comma - from);
                if (!field.empty()) row.emplace_back(field);
                if (comma == std::string_view::npos) break;
                from = comma + 1;
            }
            rows.push_back(std::move(row));
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

} // namespace

BENCHMARK(BM_CsvParser)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineFindSplit)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return runWithRatios(argc, argv, {{"BM_CsvParser/real_time", "BM_BaselineFindSplit/real_time"}});
}
