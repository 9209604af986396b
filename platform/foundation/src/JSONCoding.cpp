#include "foundation/JSONCoding.h"

#include "foundation/Base64.h"

#include <fmt/format.h>

#include <charconv>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace foundation::detail {

namespace {

using Kind = DecodingError::Kind;

// nlohmann's messages start with "[json.exception.type_error.302] ".
std::string withoutPrefix(const char* what) {
    std::string_view text(what);
    if (text.starts_with('[')) {
        const auto end = text.find("] ");
        if (end != std::string_view::npos) text.remove_prefix(end + 2);
    }
    return std::string(text);
}

} // namespace

std::string demangledTypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

std::string describeJSON(const nlohmann::json& json) {
    using Type = nlohmann::json::value_t;
    switch (json.type()) {
    case Type::null:
        return "null";
    case Type::boolean:
        return json.get<bool>() ? "the Boolean true" : "the Boolean false";
    case Type::number_integer:
        return fmt::format("number {}", json.get<std::int64_t>());
    case Type::number_unsigned:
        return fmt::format("number {}", json.get<std::uint64_t>());
    case Type::number_float:
        return fmt::format("number {}", json.get<double>());
    case Type::string:
        return "a string";
    case Type::array:
        return "an array";
    case Type::object:
        return "an object";
    case Type::binary:
        return "data";
    case Type::discarded:
        break;
    }
    return "nothing";
}

void throwTypeMismatch(const std::string& expected, const nlohmann::json& found) {
    throw DecodingError(Kind::typeMismatch, fmt::format("Expected to decode {} but found {} instead.",
                                                        expected, describeJSON(found)));
}

void throwValueNotFound(const std::string& expected) {
    throw DecodingError(Kind::valueNotFound,
                        fmt::format("Expected a {} value but found null instead.", expected));
}

void throwKeyNotFound(std::string_view key) {
    throw DecodingError(Kind::keyNotFound, fmt::format("No value associated with key \"{}\".", key));
}

void throwUnknownRawValue(const std::string& type, const nlohmann::json& found) {
    // Replace rather than throw on text that is not UTF-8: this only describes it.
    const std::string raw = found.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    throw DecodingError(Kind::dataCorrupted,
                        fmt::format("Cannot make a {} from the unknown raw value {}.", type, raw));
}

void throwDataCorrupted(std::string message) {
    throw DecodingError(Kind::dataCorrupted, std::move(message));
}

namespace {

template <class T> std::optional<T> integerFromDecimal(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int64_t> signedIntegerKey(std::string_view text) {
    return integerFromDecimal<std::int64_t>(text);
}

std::optional<std::uint64_t> unsignedIntegerKey(std::string_view text) {
    return integerFromDecimal<std::uint64_t>(text);
}

void rethrowAsDecodingError(const nlohmann::json::exception& error, const std::string& type) {
    const std::string detail = withoutPrefix(error.what());
    if (dynamic_cast<const nlohmann::json::type_error*>(&error))
        throw DecodingError(Kind::typeMismatch, fmt::format("Could not decode {}: {}.", type, detail));
    // 403 is at() asked for a missing key.
    if (dynamic_cast<const nlohmann::json::out_of_range*>(&error) && error.id == 403)
        throw DecodingError(Kind::keyNotFound, fmt::format("Could not decode {}: {}.", type, detail));
    throw DecodingError(Kind::dataCorrupted, fmt::format("Could not decode {}: {}.", type, detail));
}

Data dataFromJSON(const nlohmann::json& json) {
    if (json.is_binary()) return Data(json.get_binary().begin(), json.get_binary().end());
    if (json.is_null()) throwValueNotFound("Data");
    if (!json.is_string()) throwTypeMismatch("Data", json);
    auto bytes = dataFromBase64(json.get_ref<const std::string&>());
    if (!bytes)
        throw DecodingError(Kind::dataCorrupted,
                            "Expected Data as base64 text, but the text is not valid base64.");
    return *std::move(bytes);
}

URL urlFromJSON(const nlohmann::json& json) {
    if (json.is_null()) throwValueNotFound("URL");
    if (!json.is_string()) throwTypeMismatch("URL", json);
    auto url = URL::fromString(json.get_ref<const std::string&>());
    if (!url)
        throw DecodingError(Kind::dataCorrupted, "Expected a URL, but the text is not an absolute URL.");
    return *std::move(url);
}

UUID uuidFromJSON(const nlohmann::json& json) {
    if (json.is_null()) throwValueNotFound("UUID");
    if (!json.is_string()) throwTypeMismatch("UUID", json);
    auto uuid = UUID::fromString(json.get_ref<const std::string&>());
    if (!uuid) throw DecodingError(Kind::dataCorrupted, "Expected a UUID, but the text is not a UUID.");
    return *uuid;
}

std::string indexComponent(std::size_t index) {
    return fmt::format("[{}]", index);
}

} // namespace foundation::detail
