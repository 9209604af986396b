// Reads and writes through typed keys against the same through raw suite objects, in the same
// run. Goal: <= 1.3x for native types. Reads are separate benchmarks paired by the ratio
// reporter; writes reach the disk, whose latency drifts, so each iteration writes once each
// way and the ratio comes from the sums.
#include "RatioReporter.h"

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

template <class Value> void readThroughKey(benchmark::State& state, const char* name, Value value) {
    const auto key = storedKey(name, value);
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::get(key));
}

template <class Read> void readRaw(benchmark::State& state, const char* name, Read read) {
    const auto& suite = benchSuite();
    for (auto _ : state)
        benchmark::DoNotOptimize(read(suite->objectForKey(name)));
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

void BM_KeyGetBool(benchmark::State& s) {
    readThroughKey(s, "bool", true);
}
void BM_RawGetBool(benchmark::State& s) {
    readRaw(s, "bool", rawBool);
}
void BM_KeyGetInt(benchmark::State& s) {
    readThroughKey(s, "int", 42L);
}
void BM_RawGetInt(benchmark::State& s) {
    readRaw(s, "int", rawInt);
}
void BM_KeyGetString(benchmark::State& s) {
    readThroughKey(s, "string", std::string("a stored text value"));
}
void BM_RawGetString(benchmark::State& s) {
    readRaw(s, "string", rawString);
}
void BM_KeyGetCodable(benchmark::State& s) {
    readThroughKey(s, "codable", window);
}
void BM_RawGetCodable(benchmark::State& s) {
    readRaw(s, "codable", rawWindow);
}
void BM_KeyGetStrings(benchmark::State& s) {
    readThroughKey(s, "strings", hundredStrings());
}
void BM_RawGetStrings(benchmark::State& s) {
    readRaw(s, "strings", rawStrings);
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

BENCHMARK(BM_KeyGetBool);
BENCHMARK(BM_RawGetBool);
BENCHMARK(BM_KeyGetInt);
BENCHMARK(BM_RawGetInt);
BENCHMARK(BM_KeyGetString);
BENCHMARK(BM_RawGetString);
BENCHMARK(BM_KeyGetCodable);
BENCHMARK(BM_RawGetCodable);
BENCHMARK(BM_KeyGetStrings);
BENCHMARK(BM_RawGetStrings);
BENCHMARK(BM_SetBool)->UseManualTime();
BENCHMARK(BM_SetInt)->UseManualTime();
BENCHMARK(BM_SetString)->UseManualTime();
BENCHMARK(BM_SetCodable)->UseManualTime();
BENCHMARK(BM_SetStrings)->UseManualTime();

int main(int argc, char** argv) {
    // Never the real configuration folder.
    std::string pattern = (std::filesystem::temp_directory_path() / "prefs-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    const int result = runWithRatios(argc, argv,
                                     {{"BM_KeyGetBool", "BM_RawGetBool"},
                                      {"BM_KeyGetInt", "BM_RawGetInt"},
                                      {"BM_KeyGetString", "BM_RawGetString"},
                                      {"BM_KeyGetCodable", "BM_RawGetCodable"},
                                      {"BM_KeyGetStrings", "BM_RawGetStrings"}});
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return result;
}
