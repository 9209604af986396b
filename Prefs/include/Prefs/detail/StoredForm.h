#pragma once

#include "Prefs/SerializableTraits.h"

#include "foundation/Date.h"
#include "foundation/PropertyList.h"

#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace Prefs::detail {

// The property-list form of the types a suite holds as they are, and of property lists
// themselves: `to` makes the object, `from` is the dynamic cast back (nullopt when the object
// is of another kind). Numbers cast only when exact, as PropertyList::number does.
template <class S> struct StoredForm;

template <class T>
concept StoredObjectType = requires(const T& value, const foundation::PropertyList& object) {
    { StoredForm<T>::to(value) } -> std::same_as<foundation::PropertyList>;
    { StoredForm<T>::from(object) } -> std::same_as<std::optional<T>>;
};

template <class T>
requires(std::is_arithmetic_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, wchar_t> &&
         !std::is_same_v<T, char8_t> && !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t> &&
         !std::is_same_v<T, long double>) struct StoredForm<T> {
    static foundation::PropertyList to(const T& value) { return foundation::PropertyList(value); }
    static std::optional<T> from(const foundation::PropertyList& object) { return object.number<T>(); }
};

template <> struct StoredForm<std::string> {
    static foundation::PropertyList to(const std::string& value) { return foundation::PropertyList(value); }
    static std::optional<std::string> from(const foundation::PropertyList& object) {
        if (const std::string* text = object.string()) return *text;
        return std::nullopt;
    }
};

template <> struct StoredForm<foundation::Data> {
    static foundation::PropertyList to(const foundation::Data& value) {
        return foundation::PropertyList(value);
    }
    static std::optional<foundation::Data> from(const foundation::PropertyList& object) {
        if (const foundation::Data* data = object.data()) return *data;
        return std::nullopt;
    }
};

template <> struct StoredForm<foundation::Date> {
    static foundation::PropertyList to(const foundation::Date& value) {
        return foundation::PropertyList(value);
    }
    static std::optional<foundation::Date> from(const foundation::PropertyList& object) {
        return object.date();
    }
};

template <> struct StoredForm<foundation::PropertyList> {
    static foundation::PropertyList to(const foundation::PropertyList& value) { return value; }
    static std::optional<foundation::PropertyList> from(const foundation::PropertyList& object) {
        if (object.isAbsent()) return std::nullopt;
        return object;
    }
};

template <> struct StoredForm<foundation::PropertyList::Array> {
    static foundation::PropertyList to(const foundation::PropertyList::Array& value) { return value; }
    static std::optional<foundation::PropertyList::Array> from(const foundation::PropertyList& object) {
        if (const auto* array = object.array()) return *array;
        return std::nullopt;
    }
};

template <> struct StoredForm<foundation::PropertyList::Dictionary> {
    static foundation::PropertyList to(const foundation::PropertyList::Dictionary& value) { return value; }
    static std::optional<foundation::PropertyList::Dictionary> from(const foundation::PropertyList& object) {
        if (const auto* dictionary = object.dictionary()) return *dictionary;
        return std::nullopt;
    }
};

// Every element must cast, or the array does not.
template <StoredObjectType E, class A> struct StoredForm<std::vector<E, A>> {
    static foundation::PropertyList to(const std::vector<E, A>& value) {
        foundation::PropertyList::Array array;
        array.reserve(value.size());
        for (const E& element : value)
            array.push_back(StoredForm<E>::to(element));
        return array;
    }
    static std::optional<std::vector<E, A>> from(const foundation::PropertyList& object) {
        const auto* array = object.array();
        if (!array) return std::nullopt;
        std::vector<E, A> result;
        result.reserve(array->size());
        for (const auto& element : *array) {
            // Text straight from the object, without an optional in between: arrays of text
            // are the common large value.
            if constexpr (std::is_same_v<E, std::string>) {
                const std::string* text = element.string();
                if (!text) return std::nullopt;
                result.push_back(*text);
            } else {
                auto value = StoredForm<E>::from(element);
                if (!value) return std::nullopt;
                result.push_back(std::move(*value));
            }
        }
        return result;
    }
};

template <StoredObjectType V, class C, class A> struct StoredForm<std::map<std::string, V, C, A>> {
    static foundation::PropertyList to(const std::map<std::string, V, C, A>& value) {
        foundation::PropertyList::Dictionary dictionary;
        for (const auto& [key, element] : value)
            dictionary.emplace_hint(dictionary.end(), key, StoredForm<V>::to(element));
        return dictionary;
    }
    static std::optional<std::map<std::string, V, C, A>> from(const foundation::PropertyList& object) {
        const auto* dictionary = object.dictionary();
        if (!dictionary) return std::nullopt;
        std::map<std::string, V, C, A> result;
        for (const auto& [key, element] : *dictionary) {
            auto value = StoredForm<V>::from(element);
            if (!value) return std::nullopt;
            result.emplace(key, std::move(*value));
        }
        return result;
    }
};

// An empty optional has no object; a full one casts as what it holds.
template <StoredObjectType W> struct StoredForm<std::optional<W>> {
    static foundation::PropertyList to(const std::optional<W>& value) {
        if (!value) return {};
        return StoredForm<W>::to(*value);
    }
    static std::optional<std::optional<W>> from(const foundation::PropertyList& object) {
        auto value = StoredForm<W>::from(object);
        if (!value) return std::nullopt;
        return std::optional<W>(std::move(*value));
    }
};

// A bridge's result as a stored object: through its own bridge when it has one.
template <class S> foundation::PropertyList storedObject(const S& value) {
    if constexpr (Serializable<S>) {
        return toSerializable(value);
    } else {
        static_assert(StoredObjectType<S>, "a bridge's stored form must be a property list or serializable");
        return StoredForm<S>::to(value);
    }
}

// A stored object as a bridge's stored form: the dynamic cast, or through the form's own
// bridge when it has one but is no property-list type.
template <class S> std::optional<S> castStored(const foundation::PropertyList& object) {
    if constexpr (StoredObjectType<S>) {
        return StoredForm<S>::from(object);
    } else {
        return toValue<S>(object);
    }
}

// The optional a bridge takes for a value of T: T's bridge takes T itself, or for an optional
// the wrapped value.
template <class T> std::optional<typename Bridge<T>::Value> bridgeInput(const T& value) {
    using V = typename Bridge<T>::Value;
    if constexpr (std::is_same_v<V, T>) {
        return std::optional<V>(value);
    } else if constexpr (std::is_same_v<T, std::optional<V>>) {
        return value;
    } else {
        return std::nullopt;
    }
}

// A bridge's result as a T; an optional that the bridge left empty is no value.
template <class T> std::optional<T> bridgeOutput(std::optional<typename Bridge<T>::Value> result) {
    using V = typename Bridge<T>::Value;
    if constexpr (std::is_same_v<V, T>) {
        return result;
    } else if constexpr (std::is_same_v<T, std::optional<V>>) {
        if (!result) return std::nullopt;
        return std::optional<T>(std::move(result));
    } else {
        return std::nullopt;
    }
}

} // namespace Prefs::detail
