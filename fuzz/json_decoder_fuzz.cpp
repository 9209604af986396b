// The JSON decoder: any bytes decode or fail with a DecodingError, never a crash or another
// exception. A decoded tree encodes again and decodes back to the same tree. Text holding a NUL
// byte never decodes: JSON has no place for one.
#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

struct Record {
    std::string title;
    std::int8_t count = 0;
    std::optional<double> ratio;
    std::vector<foundation::Date> dates;
    std::map<std::string, foundation::Data> attachments;
    std::optional<foundation::URL> link;
    std::optional<foundation::UUID> id;
};

void to_json(nlohmann::json& json, const Record& record) {
    json = {{"title", record.title},
            {"count", record.count},
            {"ratio", record.ratio},
            {"dates", record.dates},
            {"attachments", record.attachments},
            {"link", record.link},
            {"id", record.id}};
}

void from_json(const nlohmann::json& json, Record& record) {
    using foundation::decodeJSONField;
    record.title = decodeJSONField<std::string>(json, "title");
    record.count = decodeJSONField<std::int8_t>(json, "count");
    record.ratio = decodeJSONField<std::optional<double>>(json, "ratio");
    record.dates = decodeJSONField<std::vector<foundation::Date>>(json, "dates");
    record.attachments = decodeJSONField<std::map<std::string, foundation::Data>>(json, "attachments");
    record.link = decodeJSONField<std::optional<foundation::URL>>(json, "link");
    record.id = decodeJSONField<std::optional<foundation::UUID>>(json, "id");
}

template <class T> void tryDecode(std::span<const std::uint8_t> bytes) {
    try {
        const T value = foundation::JSONDecoder().decode<T>(bytes);
        (void)foundation::JSONEncoder().encode(value);
    } catch (const foundation::DecodingError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace foundation;
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const auto tree = JSONDecoder().decode<nlohmann::json>(bytes);
        if (std::memchr(data, 0, size)) std::abort();
        const Data again = JSONEncoder().encode(tree);
        if (JSONDecoder().decode<nlohmann::json>(again) != tree) std::abort();
    } catch (const DecodingError&) {
    }
    tryDecode<Record>(bytes);
    tryDecode<std::vector<std::optional<std::int64_t>>>(bytes);
    tryDecode<std::uint64_t>(bytes);
    tryDecode<float>(bytes);
    tryDecode<bool>(bytes);
    tryDecode<Data>(bytes);
    return 0;
}
