#pragma once

#include "Prefs/Capabilities.h"
#include "Prefs/SerializableTraits.h"
#include "Prefs/detail/StoredForm.h"

#include "foundation/CodingError.h"
#include "foundation/JSONCoding.h"
#include "foundation/JSONDecoder.h"
#include "foundation/JSONEncoder.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/PropertyList.h"
#include "foundation/RawRepresentable.h"
#include "foundation/SecureCoding.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"

#include <charconv>
#include <concepts>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

// The bridges: stateless converters between a value and its stored form. Every one maps an
// empty input to an empty output, and turns every failure into an empty output; none throws.
namespace Prefs {

namespace detail {

// The one place the store prints: an encoding or unarchiving error, on standard output.
void printDiagnostic(std::string_view description);

// Dictionary keys as text: integers in decimal, floating point as the shortest text that reads
// back exactly, Booleans as "true"/"false". fromText reads any decimal form of the type, with
// an optional leading '+', and refuses text with anything after the number.
template <class K> struct KeyText;
template <> struct KeyText<std::string> {
    static std::string toText(const std::string& key) { return key; }
    static std::optional<std::string> fromText(const std::string& text) { return text; }
};
template <> struct KeyText<bool> {
    static std::string toText(bool key) { return key ? "true" : "false"; }
    static std::optional<bool> fromText(const std::string& text) {
        if (text == "true") return true;
        if (text == "false") return false;
        return std::nullopt;
    }
};
template <class K>
requires(std::is_arithmetic_v<K> && !std::is_same_v<K, bool> && StoredObjectType<K>) struct KeyText<K> {
    static std::string toText(K key) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, key);
        return std::string(buffer, result.ptr);
    }
    static std::optional<K> fromText(const std::string& text) {
        std::string_view digits(text);
        if (digits.starts_with('+')) {
            digits.remove_prefix(1);
            if (digits.starts_with('-')) return std::nullopt;
        }
        if (digits.empty()) return std::nullopt;
        K value{};
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
        return value;
    }
};

template <class K>
concept LosslessText = requires(const K& key, const std::string& text) {
    { KeyText<K>::toText(key) } -> std::same_as<std::string>;
    { KeyText<K>::fromText(text) } -> std::same_as<std::optional<K>>;
};

// The elements of a collection as a stored array: as they are for a native element type, else
// through the element's bridge, leaving out those it yields nothing for.
template <class E, class Range> foundation::PropertyList::Array elementsToArray(const Range& elements) {
    foundation::PropertyList::Array array;
    for (const E& element : elements) {
        if constexpr (isNativelySupportedType<E>) {
            array.push_back(StoredForm<E>::to(element));
        } else if (auto stored = Bridge<E>::serialize(bridgeInput<E>(element))) {
            array.push_back(storedObject(*stored));
        }
    }
    return array;
}

// The other way: a native element type must cast element by element, else the array reads as
// nothing; other elements must be of the bridge's stored form, and those the bridge yields
// nothing for are left out.
template <class E>
std::optional<std::vector<E>> elementsFromArray(const foundation::PropertyList::Array& array) {
    std::vector<E> result;
    result.reserve(array.size());
    for (const auto& element : array) {
        if constexpr (isNativelySupportedType<E>) {
            auto value = StoredForm<E>::from(element);
            if (!value) return std::nullopt;
            result.push_back(std::move(*value));
        } else {
            using S = typename Bridge<E>::Serializable;
            auto stored = castStored<S>(element);
            if (!stored) return std::nullopt;
            if (auto value = bridgeOutput<E>(Bridge<E>::deserialize(std::move(stored))))
                result.push_back(std::move(*value));
        }
    }
    return result;
}

} // namespace detail

// JSON text: keys sorted, UTF-8. An encoding error is printed; a decoding error is not.
template <foundation::Codable T> struct CodableBridge {
    using Value = T;
    using Serializable = std::string;

    static std::optional<std::string> serialize(const std::optional<T>& value) {
        if (!value) return std::nullopt;
        try {
            foundation::JSONEncoder encoder;
            encoder.setOutputFormatting(foundation::JSONEncoder::OutputFormatting::sortedKeys);
            const foundation::Data bytes = encoder.encode(*value);
            return std::string(bytes.begin(), bytes.end());
        } catch (const foundation::CodingError& error) {
            detail::printDiagnostic(error.description());
        } catch (const std::exception& error) {
            detail::printDiagnostic(error.what());
        }
        return std::nullopt;
    }

    static std::optional<T> deserialize(const std::optional<std::string>& text) {
        if (!text) return std::nullopt;
        try {
            return foundation::JSONDecoder().decode<T>(*text);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
};

template <foundation::Codable T> struct TopLevelCodableBridge : CodableBridge<T> {};

template <class T>
requires foundation::Codable<T> && foundation::RawRepresentable<T>
struct RawRepresentableCodableBridge : CodableBridge<T> {
};

template <class T>
requires foundation::Codable<T> && foundation::SecureCodingClass<T>
struct CodableNSSecureCodingBridge : CodableBridge<T> {
};

struct URLBridge : CodableBridge<foundation::URL> {};

// The raw value itself.
template <foundation::RawRepresentable T> struct RawRepresentableBridge {
    using Value = T;
    using Serializable = typename foundation::RawRepresentation<T>::RawValue;

    static std::optional<Serializable> serialize(const std::optional<T>& value) {
        if (!value) return std::nullopt;
        return Serializable(foundation::RawRepresentation<T>::rawValue(*value));
    }
    static std::optional<T> deserialize(const std::optional<Serializable>& raw) {
        if (!raw) return std::nullopt;
        return foundation::RawRepresentation<T>::fromRawValue(*raw);
    }
};

// A keyed archive of the object. Archiving errors are not printed; unarchiving errors are.
template <foundation::SecureCodingClass T> struct NSSecureCodingBridge {
    using Value = T;
    using Serializable = foundation::Data;

    static std::optional<foundation::Data> serialize(const std::optional<T>& value) {
        if (!value) return std::nullopt;
        try {
            return foundation::KeyedArchiver::archivedData(*value, true);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    static std::optional<T> deserialize(const std::optional<foundation::Data>& data) {
        if (!data) return std::nullopt;
        try {
            if (auto object = foundation::KeyedUnarchiver::unarchivedObject<T>(*data)) return T(*object);
        } catch (const foundation::UnarchivingError& error) {
            detail::printDiagnostic(error.description());
        } catch (const std::exception&) {
            // The class's own decode failed on data another program wrote: no value.
        }
        return std::nullopt;
    }
};

// The wrapped type's bridge; the optional is the bridge's own empty input and output.
template <Serializable W> struct OptionalBridge {
    using Value = typename Bridge<W>::Value;
    using Serializable = typename Bridge<W>::Serializable;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        return Bridge<W>::serialize(value);
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& object) {
        return Bridge<W>::deserialize(object);
    }
};

// Element by element through the element's bridge, in order; elements it yields nothing for
// are left out.
template <Serializable E> struct ArrayBridge {
    using Value = std::vector<E>;
    using Serializable = std::vector<typename Bridge<E>::Serializable>;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        if (!value) return std::nullopt;
        Serializable result;
        result.reserve(value->size());
        for (const E& element : *value) {
            if (auto stored = Bridge<E>::serialize(detail::bridgeInput<E>(element)))
                result.push_back(std::move(*stored));
        }
        return result;
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& objects) {
        if (!objects) return std::nullopt;
        Value result;
        result.reserve(objects->size());
        for (const auto& object : *objects) {
            if (auto element = detail::bridgeOutput<E>(Bridge<E>::deserialize(object)))
                result.push_back(std::move(*element));
        }
        return result;
    }
};

// Keys as text, values through the value type's bridge (also when they are native); entries
// whose key or value does not convert are left out.
template <detail::LosslessText K, Serializable V> struct DictionaryBridge {
    using Value = std::map<K, V>;
    using Serializable = std::map<std::string, typename Bridge<V>::Serializable>;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        if (!value) return std::nullopt;
        Serializable result;
        for (const auto& [key, element] : *value) {
            if (auto stored = Bridge<V>::serialize(detail::bridgeInput<V>(element)))
                result.emplace(detail::KeyText<K>::toText(key), std::move(*stored));
        }
        return result;
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& objects) {
        if (!objects) return std::nullopt;
        Value result;
        for (const auto& [text, object] : *objects) {
            auto key = detail::KeyText<K>::fromText(text);
            if (!key) continue;
            if (auto element = detail::bridgeOutput<V>(Bridge<V>::deserialize(object)))
                result.emplace(std::move(*key), std::move(*element));
        }
        return result;
    }
};

// An array of the elements, in the set's iteration order; duplicates merge on the way back.
template <class SetType> struct SetBridge {
    using Element = typename SetType::value_type;
    using Value = SetType;
    using Serializable = foundation::PropertyList::Array;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        if (!value) return std::nullopt;
        return detail::elementsToArray<Element>(*value);
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& array) {
        if (!array) return std::nullopt;
        auto elements = detail::elementsFromArray<Element>(*array);
        if (!elements) return std::nullopt;
        return Value(std::make_move_iterator(elements->begin()), std::make_move_iterator(elements->end()));
    }
};

namespace detail {

// A type built from the vector of its elements, stored as the array of the elements `Elements`
// gives.
template <class T, class Elements> struct ElementArrayBridge {
    using Element = typename T::value_type;
    using Value = T;
    using Serializable = foundation::PropertyList::Array;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        if (!value) return std::nullopt;
        return elementsToArray<Element>(Elements()(*value));
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& array) {
        if (!array) return std::nullopt;
        auto elements = elementsFromArray<Element>(*array);
        if (!elements) return std::nullopt;
        return T(std::move(*elements));
    }
};

struct ElementsArrayOf {
    template <class T> auto operator()(const T& value) const { return value.elementsArray(); }
};
struct ElementsOf {
    template <class T> const T& operator()(const T& value) const { return value; }
};

} // namespace detail

template <SetAlgebraSerializable T>
struct SetAlgebraBridge : detail::ElementArrayBridge<T, detail::ElementsArrayOf> {};

template <CollectionSerializable T>
struct CollectionBridge : detail::ElementArrayBridge<T, detail::ElementsOf> {};

// [lowerBound, upperBound]. Stored bounds out of order, or a NaN bound, read as no range:
// building one would break the range's own invariant.
template <Range R> struct RangeBridge {
    using Bound = typename R::Bound;
    using Value = R;
    using Serializable = foundation::PropertyList::Array;

    static std::optional<Serializable> serialize(const std::optional<Value>& value) {
        if (!value) return std::nullopt;
        if constexpr (isNativelySupportedType<Bound>) {
            return Serializable{detail::StoredForm<Bound>::to(value->lowerBound()),
                                detail::StoredForm<Bound>::to(value->upperBound())};
        } else {
            auto lower = Bridge<Bound>::serialize(detail::bridgeInput<Bound>(value->lowerBound()));
            if (!lower) return std::nullopt;
            auto upper = Bridge<Bound>::serialize(detail::bridgeInput<Bound>(value->upperBound()));
            if (!upper) return std::nullopt;
            return Serializable{detail::storedObject(*lower), detail::storedObject(*upper)};
        }
    }
    static std::optional<Value> deserialize(const std::optional<Serializable>& array) {
        if (!array || array->size() < 2) return std::nullopt;
        auto lower = bound((*array)[0]);
        auto upper = bound((*array)[1]);
        if (!lower || !upper) return std::nullopt;
        if (!(*lower <= *upper)) return std::nullopt;
        return R::uncheckedBounds(std::move(*lower), std::move(*upper));
    }

private:
    static std::optional<Bound> bound(const foundation::PropertyList& object) {
        if constexpr (isNativelySupportedType<Bound>) {
            return detail::StoredForm<Bound>::from(object);
        } else {
            auto stored = detail::castStored<typename Bridge<Bound>::Serializable>(object);
            if (!stored) return std::nullopt;
            return detail::bridgeOutput<Bound>(Bridge<Bound>::deserialize(std::move(stored)));
        }
    }
};

// The canonical upper-case text; either case reads back.
struct UUIDBridge {
    using Value = foundation::UUID;
    using Serializable = std::string;

    static std::optional<std::string> serialize(const std::optional<foundation::UUID>& value) {
        if (!value) return std::nullopt;
        return value->uuidString();
    }
    static std::optional<foundation::UUID> deserialize(const std::optional<std::string>& text) {
        if (!text) return std::nullopt;
        return foundation::UUID::fromString(*text);
    }
};

} // namespace Prefs
