// Reads and writes through typed keys against the same through raw suite objects, in the same
// run; each benchmark's "ratio" is key time over raw time. Goal: <= 1.3x for native types.
// Both ways run inside each iteration and the ratio comes from the sums, as the machine's load
// and the disk's latency drift while it runs.
#include "TemporaryHome.h"

#include <benchmark/benchmark.h>

#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"

#include "foundation/JSONCoding.h"
#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using foundation::PropertyList;

struct Window {
    std::string title;
    double width = 0;
    double height = 0;
};

void to_json(nlohmann::json& json, const Window& window) {
    json = {{"title", window.title}, {"width", window.width}, {"height", window.height}};
}
void from_json(const nlohmann::json& json, Window& window) {
    window.title = foundation::decodeJSONField<std::string>(json, "title");
    window.width = foundation::decodeJSONField<double>(json, "width");
    window.height = foundation::decodeJSONField<double>(json, "height");
}

std::vector<std::string> hundredStrings() {
    std::vector<std::string> strings;
    for (int i = 0; i < 100; ++i)
        strings.push_back("goal number " + std::to_string(i));
    return strings;
}

const std::shared_ptr<foundation::UserDefaults>& benchSuite() {
    static const auto suite = foundation::UserDefaults::make("com.example.prefs-bench");
    return suite;
}

template <class Value> std::shared_ptr<Prefs::Key<Value>> storedKey(const char* name, Value value) {
    auto key = std::make_shared<Prefs::Key<Value>>(name, Value{}, benchSuite());
    Prefs::set(key, value);
    return key;
}

foundation::Data encodeJSON(const Window& window) {
    foundation::JSONEncoder encoder;
    encoder.setOutputFormatting(foundation::JSONEncoder::OutputFormatting::sortedKeys);
    return encoder.encode(window);
}

// What a caller of the raw suite writes to read each kind of value.
bool rawBool(const PropertyList& object) {
    return object.boolValue().value_or(false);
}
long rawInt(const PropertyList& object) {
    return object.number<long>().value_or(0);
}
std::string rawString(const PropertyList& object) {
    const std::string* text = object.string();
    return text ? *text : std::string();
}
Window rawWindow(const PropertyList& object) {
    const std::string* text = object.string();
    if (!text) return {};
    try {
        return foundation::JSONDecoder().decode<Window>(*text);
    } catch (const foundation::DecodingError&) {
        return {};
    }
}
std::vector<std::string> rawStrings(const PropertyList& object) {
    std::vector<std::string> strings;
    const auto* array = object.array();
    if (!array) return strings;
    strings.reserve(array->size());
    for (const auto& element : *array) {
        const std::string* text = element.string();
        if (!text) return {};
        strings.push_back(*text);
    }
    return strings;
}

PropertyList rawObject(bool value) {
    return value;
}
PropertyList rawObject(long value) {
    return value;
}
PropertyList rawObject(const std::string& value) {
    return value;
}
PropertyList rawObject(const Window& value) {
    const foundation::Data bytes = encodeJSON(value);
    return std::string(bytes.begin(), bytes.end());
}
PropertyList rawObject(const std::vector<std::string>& value) {
    PropertyList::Array array;
    array.reserve(value.size());
    for (const auto& text : value)
        array.emplace_back(text);
    return array;
}

// Reads in batches, alternating which way goes first, so that load from other programs falls
// on both sides alike.
template <class Value, class Read>
void readBothWays(benchmark::State& state, const char* name, Value value, Read read) {
    using Clock = std::chrono::steady_clock;
    constexpr int batch = 256;
    const auto key = storedKey(name, value);
    const auto& suite = benchSuite();
    const auto throughKey = [&] {
        const auto start = Clock::now();
        for (int n = 0; n < batch; ++n)
            benchmark::DoNotOptimize(Prefs::get(key));
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    const auto raw = [&] {
        const auto start = Clock::now();
        for (int n = 0; n < batch; ++n)
            benchmark::DoNotOptimize(read(suite->objectForKey(name)));
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double keySeconds = 0, rawSeconds = 0;
    long i = 0;
    for (auto _ : state) {
        double keyRead = 0;
        if (++i % 2) {
            keyRead = throughKey();
            rawSeconds += raw();
        } else {
            rawSeconds += raw();
            keyRead = throughKey();
        }
        keySeconds += keyRead;
        state.SetIterationTime(keyRead);
    }
    state.counters["key_ns"] = keySeconds / double(i * batch) * 1e9;
    state.counters["raw_ns"] = rawSeconds / double(i * batch) * 1e9;
    state.counters["ratio"] = keySeconds / rawSeconds;
}

template <class Value> void writeBothWays(benchmark::State& state, const char* name, Value a, Value b) {
    using Clock = std::chrono::steady_clock;
    const auto key = storedKey(name, a);
    const auto& suite = benchSuite();
    const std::string rawName = std::string(name) + ".raw";
    double keySeconds = 0, rawSeconds = 0;
    long i = 0;
    for (auto _ : state) {
        const Value& value = (++i % 2) ? b : a;
        const auto t0 = Clock::now();
        Prefs::set(key, value);
        const auto t1 = Clock::now();
        suite->setObject(rawObject(value), rawName);
        const auto t2 = Clock::now();
        const double keyWrite = std::chrono::duration<double>(t1 - t0).count();
        keySeconds += keyWrite;
        rawSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(keyWrite);
    }
    state.counters["key_us"] = keySeconds / double(i) * 1e6;
    state.counters["raw_us"] = rawSeconds / double(i) * 1e6;
    state.counters["ratio"] = keySeconds / rawSeconds;
}

const Window window{"Goals", 400, 350};

void BM_GetBool(benchmark::State& s) {
    readBothWays(s, "bool", true, rawBool);
}
void BM_GetInt(benchmark::State& s) {
    readBothWays(s, "int", 42L, rawInt);
}
void BM_GetString(benchmark::State& s) {
    readBothWays(s, "string", std::string("a stored text value"), rawString);
}
void BM_GetCodable(benchmark::State& s) {
    readBothWays(s, "codable", window, rawWindow);
}
void BM_GetStrings(benchmark::State& s) {
    readBothWays(s, "strings", hundredStrings(), rawStrings);
}

void BM_SetBool(benchmark::State& s) {
    writeBothWays(s, "wbool", true, false);
}
void BM_SetInt(benchmark::State& s) {
    writeBothWays(s, "wint", 1L, 2L);
}
void BM_SetString(benchmark::State& s) {
    writeBothWays(s, "wstring", std::string("one"), std::string("two"));
}
void BM_SetCodable(benchmark::State& s) {
    writeBothWays(s, "wcodable", window, Window{"Other", 1, 2});
}
void BM_SetStrings(benchmark::State& s) {
    auto other = hundredStrings();
    other.back() = "changed";
    writeBothWays(s, "wstrings", hundredStrings(), other);
}

} // namespace

BENCHMARK(BM_GetBool)->UseManualTime();
BENCHMARK(BM_GetInt)->UseManualTime();
BENCHMARK(BM_GetString)->UseManualTime();
BENCHMARK(BM_GetCodable)->UseManualTime();
BENCHMARK(BM_GetStrings)->UseManualTime();
BENCHMARK(BM_SetBool)->UseManualTime();
BENCHMARK(BM_SetInt)->UseManualTime();
BENCHMARK(BM_SetString)->UseManualTime();
BENCHMARK(BM_SetCodable)->UseManualTime();
BENCHMARK(BM_SetStrings)->UseManualTime();

int main(int argc, char** argv) {
    return runBenchmarksInTemporaryHome(argc, argv, "prefs-bench");
}
