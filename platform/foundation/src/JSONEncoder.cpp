#include "foundation/JSONEncoder.h"

#include "foundation/Base64.h"

#include <fmt/format.h>

#include <cmath>
#include <string>

namespace foundation {

namespace {

// Refuses what JSON cannot hold and turns binary values into base64 text, in place.
void prepare(nlohmann::json& json, CodingPath& path) {
    using Type = nlohmann::json::value_t;
    switch (json.type()) {
    case Type::number_float: {
        const double value = json.get<double>();
        if (!std::isfinite(value))
            throw EncodingError(
                EncodingError::Kind::invalidValue,
                fmt::format("Unable to encode the Double value {} in JSON, which has no form for "
                            "NaN or infinity.",
                            value),
                path);
        return;
    }
    case Type::binary:
        json = base64EncodedString(json.get_binary());
        return;
    case Type::array:
        for (std::size_t i = 0; i < json.size(); ++i) {
            path.push_back(detail::indexComponent(i));
            prepare(json[i], path);
            path.pop_back();
        }
        return;
    case Type::object:
        for (auto& [key, element] : json.get_ref<nlohmann::json::object_t&>()) {
            path.push_back(key);
            prepare(element, path);
            path.pop_back();
        }
        return;
    default:
        return;
    }
}

} // namespace

Data JSONEncoder::encodeJSON(nlohmann::json json) const {
    CodingPath path;
    prepare(json, path);
    const bool pretty =
        (outputFormatting_ & OutputFormatting::prettyPrinted) == OutputFormatting::prettyPrinted;
    std::string text;
    try {
        text = json.dump(pretty ? 2 : -1);
    } catch (const nlohmann::json::type_error&) {
        throw EncodingError(EncodingError::Kind::invalidValue,
                            "Unable to encode a String that is not valid UTF-8 in JSON.");
    }
    return Data(text.begin(), text.end());
}

} // namespace foundation
