#include "Prefs/AnySerializable.h"

#include "foundation/Date.h"
#include "foundation/Fatal.h"
#include "foundation/UnicodeNormalization.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <tuple>

namespace Prefs {

using foundation::Any;
using foundation::AnyHashable;
using foundation::Data;
using foundation::Date;
using foundation::PropertyList;

class AnySerializableAccess {
public:
    static AnySerializable wrap(const Any& value) {
        // A nested AnySerializable stands for what it holds.
        if (const auto* nested = value.get<AnySerializable>()) return *nested;
        return AnySerializable(AnySerializable::Held{}, value);
    }
};

namespace {

using Entries = std::unordered_map<AnyHashable, AnySerializable>;
using Elements = std::vector<AnySerializable>;

const PropertyList* heldObject(const Any& value) {
    return value.get<PropertyList>();
}

// The platform's dynamic conversions: a literal converts only to its own type; a stored object
// to every type it reads as exactly.
template <class R> std::optional<R> convert(const Any& value) {
    if (const R* exact = value.get<R>()) return *exact;
    const PropertyList* object = heldObject(value);
    if (!object) return std::nullopt;
    if constexpr (std::is_same_v<R, Data>) {
        if (const Data* data = object->data()) return *data;
        return std::nullopt;
    } else if constexpr (std::is_same_v<R, Date>) {
        return object->date();
    } else if constexpr (std::is_same_v<R, std::string>) {
        if (const std::string* text = object->string()) return *text;
        return std::nullopt;
    } else {
        return object->number<R>();
    }
}

std::optional<Entries> convertDictionary(const Any& value) {
    if (const auto* literal = value.get<AnySerializable::Dictionary>()) {
        Entries entries;
        for (const auto& [key, element] : *literal)
            entries.emplace(key, AnySerializableAccess::wrap(element));
        return entries;
    }
    if (const PropertyList* object = heldObject(value)) {
        if (const auto* dictionary = object->dictionary()) {
            Entries entries;
            for (const auto& [key, element] : *dictionary)
                entries.emplace(AnyHashable(key), AnySerializable::fromObject(element));
            return entries;
        }
    }
    return std::nullopt;
}

std::optional<Elements> convertArray(const Any& value) {
    if (const auto* literal = value.get<AnySerializable::Array>()) {
        Elements elements;
        elements.reserve(literal->size());
        for (const auto& element : *literal)
            elements.push_back(AnySerializableAccess::wrap(element));
        return elements;
    }
    if (const PropertyList* object = heldObject(value)) {
        if (const auto* array = object->array()) {
            Elements elements;
            elements.reserve(array->size());
            for (const auto& element : *array)
                elements.push_back(AnySerializable::fromObject(element));
            return elements;
        }
    }
    return std::nullopt;
}

// One row of the equality table: nullopt when it does not apply to both sides.
template <class R> std::optional<bool> compareAs(const Any& a, const Any& b) {
    auto left = convert<R>(a);
    if (!left) return std::nullopt;
    auto right = convert<R>(b);
    if (!right) return std::nullopt;
    return *left == *right;
}

template <class... Rows> std::optional<bool> firstRow(const Any& a, const Any& b) {
    std::optional<bool> answer;
    // Stops at the first row that applies.
    std::ignore = ((answer = compareAs<Rows>(a, b), answer.has_value()) || ...);
    return answer;
}

bool equal(const Any& a, const Any& b) {
    if (!a.has_value() || !b.has_value()) return !a.has_value() && !b.has_value();
    if (auto answer =
            firstRow<Data, Date, bool, std::uint8_t, std::int8_t, std::uint16_t, std::int16_t, std::uint32_t,
                     std::int32_t, std::uint64_t, std::int64_t, unsigned long long, long long, float, double>(
                a, b))
        return *answer;
    if (auto left = convert<std::string>(a)) {
        if (auto right = convert<std::string>(b)) return foundation::isCanonicallyEquivalent(*left, *right);
    }
    if (auto left = convertDictionary(a)) {
        if (auto right = convertDictionary(b)) {
            if (left->size() != right->size()) return false;
            for (const auto& [key, element] : *left) {
                auto found = right->find(key);
                if (found == right->end() || !(element == found->second)) return false;
            }
            return true;
        }
    }
    if (auto left = convertArray(a)) {
        if (auto right = convertArray(b)) return *left == *right;
    }
    return false;
}

class Hasher {
public:
    void combine(std::uint64_t value) {
        state_ = mix(state_ ^ (value + 0x9e3779b97f4a7c15ULL + (state_ << 6) + (state_ >> 2)));
    }
    std::uint64_t finalize() const { return mix(state_ + 0x632be59bd9b4e019ULL); }

private:
    static std::uint64_t mix(std::uint64_t x) {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        x ^= x >> 31;
        return x;
    }
    std::uint64_t state_ = 0;
};

enum Tag : std::uint64_t { dataTag = 1, dateTag, integerTag, realTag, textTag, dictionaryTag, arrayTag };

void feedDouble(Hasher& hasher, double value) {
    // Integral values hash as the integer, so that 1.0 hashes like 1 and like true.
    if (std::isfinite(value) && std::trunc(value) == value && value >= -0x1p63 && value < 0x1p64) {
        hasher.combine(integerTag);
        hasher.combine(value < 0x1p63 ? std::uint64_t(std::int64_t(value)) : std::uint64_t(value));
        return;
    }
    hasher.combine(realTag);
    hasher.combine(std::bit_cast<std::uint64_t>(value));
}

template <class I> bool feedIntegerIf(Hasher& hasher, const Any& value) {
    const I* exact = value.get<I>();
    if (!exact) return false;
    hasher.combine(integerTag);
    hasher.combine(std::uint64_t(*exact));
    return true;
}

bool feedNumber(Hasher& hasher, const Any& value) {
    if (const PropertyList* object = heldObject(value); object && object->isNumber()) {
        if (auto integer = object->number<std::int64_t>()) {
            hasher.combine(integerTag);
            hasher.combine(std::uint64_t(*integer));
        } else if (auto unsignedInteger = object->number<std::uint64_t>()) {
            hasher.combine(integerTag);
            hasher.combine(*unsignedInteger);
        } else {
            feedDouble(hasher, *object->number<double>());
        }
        return true;
    }
    if (const bool* flag = value.get<bool>()) {
        hasher.combine(integerTag);
        hasher.combine(*flag ? 1 : 0);
        return true;
    }
    if (const float* real = value.get<float>()) {
        feedDouble(hasher, *real);
        return true;
    }
    if (const double* real = value.get<double>()) {
        feedDouble(hasher, *real);
        return true;
    }
    return feedIntegerIf<signed char>(hasher, value) || feedIntegerIf<unsigned char>(hasher, value) ||
           feedIntegerIf<short>(hasher, value) || feedIntegerIf<unsigned short>(hasher, value) ||
           feedIntegerIf<int>(hasher, value) || feedIntegerIf<unsigned>(hasher, value) ||
           feedIntegerIf<long>(hasher, value) || feedIntegerIf<unsigned long>(hasher, value) ||
           feedIntegerIf<long long>(hasher, value) || feedIntegerIf<unsigned long long>(hasher, value);
}

void feed(Hasher& hasher, const Any& value);

void feed(Hasher& hasher, const AnySerializable& value) {
    feed(hasher, value.value());
}

void feed(Hasher& hasher, const Any& value) {
    if (!value.has_value()) return;
    if (auto data = convert<Data>(value)) {
        hasher.combine(dataTag);
        hasher.combine(std::hash<std::string_view>{}(
            std::string_view(reinterpret_cast<const char*>(data->data()), data->size())));
        return;
    }
    if (auto date = convert<Date>(value)) {
        const double seconds = date->timeIntervalSinceReferenceDate();
        hasher.combine(dateTag);
        hasher.combine(std::bit_cast<std::uint64_t>(seconds == 0 ? 0.0 : seconds));
        return;
    }
    if (feedNumber(hasher, value)) return;
    if (auto text = convert<std::string>(value)) {
        hasher.combine(textTag);
        hasher.combine(std::hash<std::string>{}(foundation::precomposedStringWithCanonicalMapping(*text)));
        return;
    }
    if (auto entries = convertDictionary(value)) {
        // Independent of the order of the entries.
        std::uint64_t combined = 0;
        for (const auto& [key, element] : *entries) {
            Hasher entry;
            entry.combine(key.hash());
            feed(entry, element);
            combined ^= entry.finalize();
        }
        hasher.combine(dictionaryTag);
        hasher.combine(combined);
        return;
    }
    if (auto elements = convertArray(value)) {
        hasher.combine(arrayTag);
        hasher.combine(elements->size());
        for (const auto& element : *elements)
            feed(hasher, element);
        return;
    }
}

template <class I> bool integerObjectIf(const Any& value, PropertyList& out) {
    const I* exact = value.get<I>();
    if (!exact) return false;
    out = PropertyList(*exact);
    return true;
}

PropertyList objectOf(const Any& value) {
    if (!value.has_value()) return {};
    if (const PropertyList* object = heldObject(value)) return *object;
    if (const auto* nested = value.get<AnySerializable>()) return nested->propertyList();
    if (const bool* flag = value.get<bool>()) return *flag;
    if (const double* real = value.get<double>()) return *real;
    if (const float* real = value.get<float>()) return *real;
    if (const std::string* text = value.get<std::string>()) return *text;
    if (const Data* data = value.get<Data>()) return *data;
    if (const Date* date = value.get<Date>()) return *date;
    PropertyList integer;
    if (integerObjectIf<signed char>(value, integer) || integerObjectIf<unsigned char>(value, integer) ||
        integerObjectIf<short>(value, integer) || integerObjectIf<unsigned short>(value, integer) ||
        integerObjectIf<int>(value, integer) || integerObjectIf<unsigned>(value, integer) ||
        integerObjectIf<long>(value, integer) || integerObjectIf<unsigned long>(value, integer) ||
        integerObjectIf<long long>(value, integer) || integerObjectIf<unsigned long long>(value, integer))
        return integer;
    if (const auto* elements = value.get<AnySerializable::Array>()) {
        PropertyList::Array array;
        array.reserve(elements->size());
        for (const auto& element : *elements) {
            PropertyList object = objectOf(element);
            if (object.isAbsent()) return {};
            array.push_back(std::move(object));
        }
        return array;
    }
    if (const auto* entries = value.get<AnySerializable::Dictionary>()) {
        PropertyList::Dictionary dictionary;
        for (const auto& [key, element] : *entries) {
            const std::string* text = key.get<std::string>();
            if (!text) return {};
            PropertyList object = objectOf(element);
            if (object.isAbsent()) return {};
            dictionary.emplace(*text, std::move(object));
        }
        return dictionary;
    }
    return {};
}

} // namespace

AnySerializable::AnySerializable(Held, Any value)
    : value_(std::move(value)) {}

AnySerializable AnySerializable::array(std::initializer_list<Any> elements) {
    return AnySerializable(Held{}, Any(Array(elements)));
}

AnySerializable AnySerializable::array(Array elements) {
    return AnySerializable(Held{}, Any(std::move(elements)));
}

AnySerializable AnySerializable::dictionary(std::initializer_list<std::pair<AnyHashable, Any>> entries) {
    Dictionary dictionary;
    for (const auto& [key, element] : entries) {
        if (!dictionary.emplace(key, element).second)
            foundation::fatal("AnySerializable: a dictionary literal repeats a key");
    }
    return AnySerializable(Held{}, Any(std::move(dictionary)));
}

AnySerializable AnySerializable::fromObject(const PropertyList& object) {
    if (object.isAbsent()) return {};
    return AnySerializable(Held{}, Any(object));
}

PropertyList AnySerializable::propertyList() const {
    return objectOf(value_);
}

bool AnySerializable::operator==(const AnySerializable& other) const {
    return equal(value_, other.value_);
}

std::size_t AnySerializable::hash() const {
    Hasher hasher;
    feed(hasher, value_);
    return hasher.finalize();
}

} // namespace Prefs
