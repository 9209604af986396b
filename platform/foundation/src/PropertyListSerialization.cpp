#include "foundation/PropertyListSerialization.h"

#include "BinaryPropertyListReader.h"
#include "UTF8.h"

#include <fmt/format.h>
#include <plist/plist.h>

#include <cmath>
#include <cstring>
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

PropertyList fromNode(plist_t node, int depth) {
    if (depth > PropertyListSerialization::maximumDepth) throw PropertyListError("containers are nested too deeply");
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return PropertyList(b != 0);
    }
    case PLIST_UINT: {
        // The file format's integers are signed 64-bit.
        std::uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return PropertyList(std::int64_t(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return PropertyList(v);
    }
    case PLIST_KEY: {
        char* text = nullptr;
        plist_get_key_val(node, &text);
        std::string value = text ? text : "";
        free(text);
        if (!isValidUtf8(value)) throw PropertyListError("a text is not UTF-8");
        return PropertyList(std::move(value));
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        std::string value(text ? text : "", text ? length : 0);
        if (!isValidUtf8(value)) throw PropertyListError("a text is not UTF-8");
        return PropertyList(std::move(value));
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        if (!bytes) return PropertyList(Data{});
        return PropertyList(Data(reinterpret_cast<const std::uint8_t*>(bytes),
                                 reinterpret_cast<const std::uint8_t*>(bytes) + length));
    }
    case PLIST_DATE: {
        // libplist hands back the whole seconds truncated toward zero and the fraction without
        // its sign.
        std::int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        const double fraction = std::abs(double(usec)) / 1e6;
        return PropertyList(Date(sec < 0 ? double(sec) - fraction : double(sec) + fraction));
    }
    case PLIST_ARRAY: {
        PropertyList::Array elements;
        const std::uint32_t count = plist_array_get_size(node);
        elements.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            plist_t item = plist_array_get_item(node, i);
            if (!item) throw PropertyListError("an array element is missing");
            elements.push_back(fromNode(item, depth + 1));
        }
        return PropertyList(std::move(elements));
    }
    case PLIST_DICT: {
        PropertyList::Dictionary entries;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it) return PropertyList(std::move(entries));
        const std::unique_ptr<void, decltype(&free)> iterator(it, &free);
        for (;;) {
            // Ask for the value only: libplist asserts on a key that is not text, which a
            // damaged binary file can hold, so the key node is checked before it is read.
            plist_t item = nullptr;
            plist_dict_next_item(node, it, nullptr, &item);
            if (!item) break;
            plist_t keyNode = plist_dict_item_get_key(item);
            if (!keyNode || plist_get_node_type(keyNode) != PLIST_KEY)
                throw PropertyListError("a dictionary key is not text");
            char* key = nullptr;
            plist_get_key_val(keyNode, &key);
            std::string name = key ? key : "";
            free(key);
            if (!isValidUtf8(name)) throw PropertyListError("a dictionary key is not UTF-8");
            entries.insert_or_assign(std::move(name), fromNode(item, depth + 1));
        }
        return PropertyList(std::move(entries));
    }
    case PLIST_UID: throw PropertyListError("the file holds an object reference, which this reader does not take");
    default: throw PropertyListError("the file holds a value of unknown kind");
    }
}

} // namespace

std::optional<std::string> PropertyListSerialization::problemWriting(const PropertyList& value) {
    return problem(value, 0);
}

PropertyList PropertyListSerialization::propertyList(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) throw PropertyListError("the file is empty");
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) throw PropertyListError("the file is too large");
    const char* raw = reinterpret_cast<const char*>(bytes.data());
    const auto length = std::uint32_t(bytes.size());
    plist_t root = nullptr;
    if (bytes.size() >= 8 && std::memcmp(raw, "bplist", 6) == 0) return detail::readBinaryPropertyList(bytes);
    {
        // The XML reader wants to find the end of the text.
        std::string text(raw, length);
        if (text.find("<plist") == std::string::npos) throw PropertyListError("the data is not a property list");
        plist_from_xml(text.c_str(), length, &root);
    }
    if (!root) throw PropertyListError("the data is not a valid property list");
    Node owner(root);
    return fromNode(root, 0);
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
