#pragma once

#include "ui/ViewEquatableValue.h"

#include <concepts>
#include <map>
#include <memory>
#include <utility>

namespace ui {

// A key of the environment: a type naming its value type and a default.
//
//     struct CircularProgressBarStyleKey {
//         using Value = CircularProgressBarStyle;
//         static Value defaultValue() { return {}; }
//     };
template <class K>
concept EnvironmentKey = requires {
    typename K::Value;
    { K::defaultValue() } -> std::convertible_to<typename K::Value>;
};

namespace detail {
template <class K> inline const char keyTag = 0;
using KeyID = const void*;
template <class K> constexpr KeyID keyID() {
    return &keyTag<K>;
}
} // namespace detail

// The values a view's ancestors set for it, as one copyable whole. Copies share storage until
// one of them is written.
class EnvironmentValues {
public:
    template <EnvironmentKey K> const typename K::Value& get() const {
        if (const auto* value = find(detail::keyID<K>())) return value->template get<typename K::Value>();
        return defaultOf<K>();
    }
    template <EnvironmentKey K> void set(typename K::Value value) {
        setErased(detail::keyID<K>(), detail::EquatableValue(std::move(value)));
    }
    template <EnvironmentKey K, class F> void transform(F&& f) {
        typename K::Value value = get<K>();
        std::forward<F>(f)(value);
        set<K>(std::move(value));
    }

    // The stored value of a key, or nullptr while it has its default.
    const detail::EquatableValue* find(detail::KeyID key) const;
    void setErased(detail::KeyID key, detail::EquatableValue value);

    // Whether a key reads the same in both: the change check of an environment reader.
    bool sameValue(detail::KeyID key, const EnvironmentValues& other) const;
    bool operator==(const EnvironmentValues& other) const;

private:
    template <EnvironmentKey K> static const typename K::Value& defaultOf() {
        static const typename K::Value value = K::defaultValue();
        return value;
    }

    using Storage = std::map<detail::KeyID, detail::EquatableValue>;
    std::shared_ptr<const Storage> storage_;
};

// Objects put in the environment by type with environmentObject().
template <class T> struct EnvironmentObjectKey {
    using Value = std::shared_ptr<T>;
    static Value defaultValue() { return nullptr; }
};

} // namespace ui
