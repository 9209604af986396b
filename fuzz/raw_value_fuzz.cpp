// JSON raw values read from any text: arrays, maps of every key form and StorageValue. Whatever
// decodes encodes again to text that decodes to the same value.
#include "ViewKit/RawValues.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Pair {
    std::int16_t a = 0;
    std::string b;
    auto operator<=>(const Pair&) const = default;
};

void to_json(nlohmann::json& json, const Pair& pair) {
    json = {{"a", pair.a}, {"b", pair.b}};
}

void from_json(const nlohmann::json& json, Pair& pair) {
    pair.a = foundation::decodeJSONField<std::int16_t>(json, "a");
    pair.b = foundation::decodeJSONField<std::string>(json, "b");
}

template <class T> void arrayRoundTrip(std::string_view text) {
    const auto array = ViewKit::arrayFromRawValue<T>(text);
    if (array && ViewKit::arrayFromRawValue<T>(ViewKit::rawValue(*array)) != array) std::abort();
}

template <class K, class V> void dictionaryRoundTrip(std::string_view text) {
    const auto map = ViewKit::dictionaryFromRawValue<K, V>(text);
    if (map && ViewKit::dictionaryFromRawValue<K, V>(ViewKit::rawValue(*map)) != map) std::abort();
}

template <class T> void storageRoundTrip(std::string_view text) {
    const auto stored = ViewKit::StorageValue<T>::fromRawValue(text);
    if (stored && ViewKit::StorageValue<T>::fromRawValue(stored->rawValue()) != stored) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    arrayRoundTrip<int>(text);
    arrayRoundTrip<std::optional<double>>(text);
    arrayRoundTrip<std::string>(text);
    arrayRoundTrip<Pair>(text);
    dictionaryRoundTrip<std::string, int>(text);
    dictionaryRoundTrip<std::int8_t, std::string>(text);
    dictionaryRoundTrip<std::uint64_t, bool>(text);
    dictionaryRoundTrip<Pair, std::vector<int>>(text);
    dictionaryRoundTrip<double, Pair>(text);
    storageRoundTrip<double>(text);
    storageRoundTrip<std::string>(text);
    storageRoundTrip<Pair>(text);
    storageRoundTrip<std::map<int, int>>(text);
    return 0;
}
