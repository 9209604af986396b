#include "foundation/PropertyList.h"

#include <fmt/format.h>

#include <cmath>

namespace foundation {

namespace {

const PropertyList& absentValue() {
    static const PropertyList value;
    return value;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += fmt::format("\\u{:04x}", int(c));
            else
                out += c;
        }
    }
    out += '"';
}

} // namespace

PropertyList PropertyList::null() {
    PropertyList value;
    value.storage_ = Null{};
    return value;
}

PropertyList::PropertyList(bool value)
    : storage_(value) {}
PropertyList::PropertyList(double value)
    : storage_(value) {}
PropertyList::PropertyList(float value)
    : storage_(double(value)) {}
PropertyList::PropertyList(std::string value)
    : storage_(std::make_shared<const std::string>(std::move(value))) {}
PropertyList::PropertyList(std::string_view value)
    : storage_(std::make_shared<const std::string>(value)) {}
PropertyList::PropertyList(const char* value) {
    if (value) storage_ = std::make_shared<const std::string>(value);
}
PropertyList::PropertyList(Data value)
    : storage_(std::make_shared<const Data>(std::move(value))) {}
PropertyList::PropertyList(Date value)
    : storage_(value) {}
PropertyList::PropertyList(Array value)
    : storage_(std::make_shared<const Array>(std::move(value))) {}
PropertyList::PropertyList(Dictionary value)
    : storage_(std::make_shared<const Dictionary>(std::move(value))) {}

PropertyList::Kind PropertyList::kind() const {
    return static_cast<Kind>(storage_.index());
}

bool PropertyList::isNumber() const {
    switch (kind()) {
    case Kind::boolean:
    case Kind::integer:
    case Kind::unsignedInteger:
    case Kind::real: return true;
    default: return false;
    }
}

const std::string* PropertyList::string() const {
    auto* p = std::get_if<std::shared_ptr<const std::string>>(&storage_);
    return p ? p->get() : nullptr;
}

const Data* PropertyList::data() const {
    auto* p = std::get_if<std::shared_ptr<const Data>>(&storage_);
    return p ? p->get() : nullptr;
}

const PropertyList::Array* PropertyList::array() const {
    auto* p = std::get_if<std::shared_ptr<const Array>>(&storage_);
    return p ? p->get() : nullptr;
}

const PropertyList::Dictionary* PropertyList::dictionary() const {
    auto* p = std::get_if<std::shared_ptr<const Dictionary>>(&storage_);
    return p ? p->get() : nullptr;
}

std::optional<Date> PropertyList::date() const {
    if (auto* d = std::get_if<Date>(&storage_)) return *d;
    return std::nullopt;
}

std::optional<PropertyList::Int128> PropertyList::exactInt128() const {
    if (auto* b = std::get_if<bool>(&storage_)) return Int128(*b ? 1 : 0);
    if (auto* i = std::get_if<std::int64_t>(&storage_)) return Int128(*i);
    if (auto* u = std::get_if<std::uint64_t>(&storage_)) return Int128(*u);
    if (auto* d = std::get_if<double>(&storage_)) {
        // Beyond ±2^64 no double is an int64 or uint64 anyway.
        if (!std::isfinite(*d) || std::trunc(*d) != *d || std::fabs(*d) >= 18446744073709551616.0)
            return std::nullopt;
        return Int128(*d);
    }
    return std::nullopt;
}

std::optional<bool> PropertyList::boolValue() const {
    if (auto* b = std::get_if<bool>(&storage_)) return *b;
    auto v = exactInt128();
    if (!v || (*v != 0 && *v != 1)) return std::nullopt;
    return *v == 1;
}

const PropertyList& PropertyList::operator[](std::string_view key) const {
    const Dictionary* d = dictionary();
    if (!d) return absentValue();
    auto it = d->find(key);
    return it == d->end() ? absentValue() : it->second;
}

bool PropertyList::operator==(const PropertyList& other) const {
    const Kind a = kind();
    const Kind b = other.kind();
    const bool aNumeric = a == Kind::integer || a == Kind::unsignedInteger || a == Kind::real;
    const bool bNumeric = b == Kind::integer || b == Kind::unsignedInteger || b == Kind::real;
    if (aNumeric && bNumeric) {
        if (a == Kind::real || b == Kind::real) {
            // Mixed real and integer: equal only when the real is that very whole number.
            if (a == Kind::real && b == Kind::real) return std::get<double>(storage_) == std::get<double>(other.storage_);
            const auto x = exactInt128();
            const auto y = other.exactInt128();
            return x && y && *x == *y;
        }
        return *exactInt128() == *other.exactInt128();
    }
    if (a != b) return false;
    switch (a) {
    case Kind::absent:
    case Kind::null: return true;
    case Kind::boolean: return std::get<bool>(storage_) == std::get<bool>(other.storage_);
    case Kind::string: return *string() == *other.string();
    case Kind::data: return *data() == *other.data();
    case Kind::date: return *date() == *other.date();
    case Kind::array: return *array() == *other.array();
    case Kind::dictionary: return *dictionary() == *other.dictionary();
    default: return false;
    }
}

std::string PropertyList::description() const {
    std::string out;
    switch (kind()) {
    case Kind::absent: return "<absent>";
    case Kind::null: return "null";
    case Kind::boolean: return std::get<bool>(storage_) ? "true" : "false";
    case Kind::integer: return fmt::format("{}", std::get<std::int64_t>(storage_));
    case Kind::unsignedInteger: return fmt::format("{}", std::get<std::uint64_t>(storage_));
    case Kind::real: return fmt::format("{}", std::get<double>(storage_));
    case Kind::string: appendQuoted(out, *string()); return out;
    case Kind::data: return fmt::format("<{} bytes>", data()->size());
    case Kind::date: return fmt::format("<date {}>", date()->timeIntervalSinceReferenceDate());
    case Kind::array: {
        out = "[";
        bool first = true;
        for (const auto& element : *array()) {
            if (!first) out += ", ";
            first = false;
            out += element.description();
        }
        return out + "]";
    }
    case Kind::dictionary: {
        out = "{";
        bool first = true;
        for (const auto& [key, element] : *dictionary()) {
            if (!first) out += ", ";
            first = false;
            appendQuoted(out, key);
            out += ": " + element.description();
        }
        return out + "}";
    }
    }
    return out;
}

} // namespace foundation
