#include "foundation/PropertyListSerialization.h"

#include "BinaryPropertyListReader.h"
#include "UTF8.h"
#include "XMLPropertyListReader.h"

#include <fmt/format.h>
#include <plist/plist.h>

#include <cmath>
#include <limits>
#include <memory>

namespace foundation {

namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

constexpr double minimumDateSeconds = double(std::numeric_limits<std::int32_t>::min());
constexpr double maximumDateSeconds = double(std::numeric_limits<std::int32_t>::max()) + 1.0;

bool dateFits(Date date) {
    const double s = date.timeIntervalSinceReferenceDate();
    return std::isfinite(s) && std::floor(s) >= minimumDateSeconds && std::floor(s) < maximumDateSeconds;
}

// libplist writes text that is not UTF-8 as an empty text, and NUL ends its texts, so such
// text is refused up front.
bool isValidUtf8(std::string_view text) {
    return text.find('\0') == std::string_view::npos && detail::isValidUTF8(text);
}

std::optional<std::string> problem(const PropertyList& value, int depth) {
    using Kind = PropertyList::Kind;
    if (depth > PropertyListSerialization::maximumDepth) return "containers are nested too deeply";
    switch (value.kind()) {
    case Kind::absent: return "an absent value cannot be written";
    case Kind::null: return "null cannot be written to a plist";
    case Kind::unsignedInteger:
        if (!value.number<std::int64_t>())
            return fmt::format("the integer {} is beyond the largest signed 64-bit integer", value.description());
        return std::nullopt;
    case Kind::date:
        if (!dateFits(*value.date()))
            return fmt::format("the date {} seconds after 2001-01-01 is outside the range a plist file keeps",
                               value.date()->timeIntervalSinceReferenceDate());
        return std::nullopt;
    case Kind::array:
        for (const auto& element : *value.array())
            if (auto p = problem(element, depth + 1)) return p;
        return std::nullopt;
    case Kind::dictionary:
        for (const auto& [key, element] : *value.dictionary()) {
            if (!isValidUtf8(key)) return "a dictionary key is not UTF-8 text without NUL characters";
            if (auto p = problem(element, depth + 1)) return fmt::format("under \"{}\": {}", key, *p);
        }
        return std::nullopt;
    case Kind::string:
        if (!isValidUtf8(*value.string())) return "a text is not UTF-8 without NUL characters";
        return std::nullopt;
    default: return std::nullopt;
    }
}

// Called only on values that problem() accepted.
plist_t toNode(const PropertyList& value) {
    using Kind = PropertyList::Kind;
    switch (value.kind()) {
    case Kind::boolean: return plist_new_bool(*value.boolValue() ? 1 : 0);
    case Kind::integer:
    case Kind::unsignedInteger: return plist_new_uint(std::uint64_t(*value.number<std::int64_t>()));
    case Kind::real: return plist_new_real(*value.number<double>());
    case Kind::string: return plist_new_string(value.string()->c_str());
    case Kind::data: {
        const Data& bytes = *value.data();
        return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case Kind::date: {
        // libplist adds the microseconds to the seconds, so a floor split keeps dates before 2001.
        const double s = value.date()->timeIntervalSinceReferenceDate();
        double whole = std::floor(s);
        auto micro = std::int32_t(std::llround((s - whole) * 1e6));
        if (micro == 1000000) {
            // A carry past the last whole second would leave the 32-bit range.
            if (whole < maximumDateSeconds - 1) {
                whole += 1;
                micro = 0;
            } else {
                micro = 999999;
            }
        }
        return plist_new_date(std::int32_t(whole), micro);
    }
    case Kind::array: {
        plist_t node = plist_new_array();
        for (const auto& element : *value.array()) plist_array_append_item(node, toNode(element));
        return node;
    }
    case Kind::dictionary: {
        plist_t node = plist_new_dict();
        for (const auto& [key, element] : *value.dictionary()) plist_dict_set_item(node, key.c_str(), toNode(element));
        return node;
    }
    default: return nullptr;
    }
}

} // namespace

std::optional<std::string> PropertyListSerialization::problemWriting(const PropertyList& value) {
    return problem(value, 0);
}

PropertyList PropertyListSerialization::propertyList(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) throw PropertyListError("the file is empty");
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) throw PropertyListError("the file is too large");
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (bytes.size() >= 8 && text.starts_with("bplist")) return detail::readBinaryPropertyList(bytes);
    if (text.find("<plist") == std::string_view::npos)
        throw PropertyListError("the data is not a property list");
    return detail::readXMLPropertyList(text);
}

std::vector<std::uint8_t> PropertyListSerialization::data(const PropertyList& value, PropertyListFormat format) {
    if (auto p = problemWriting(value)) throw PropertyListError(*p);
    Node root(toNode(value));
    char* out = nullptr;
    std::uint32_t length = 0;
    if (format == PropertyListFormat::binary)
        plist_to_bin(root.get(), &out, &length);
    else
        plist_to_xml(root.get(), &out, &length);
    if (!out) throw PropertyListError("the property list could not be written");
    std::vector<std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(out),
                                    reinterpret_cast<const std::uint8_t*>(out) + length);
    if (format == PropertyListFormat::binary)
        plist_to_bin_free(out);
    else
        plist_to_xml_free(out);
    return bytes;
}

} // namespace foundation
