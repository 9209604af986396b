#pragma once

#include "ui/EnvironmentValues.h"
#include "ui/ViewEquatableValue.h"

#include <concepts>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace ui {

// A value that views hand up the tree. Siblings' values are combined in tree order:
// reduce(accumulated, next) with the later sibling's value as `next`.
//
//     struct ItemRowSizesKey {
//         using Value = std::vector<ItemSizeElement>;
//         static Value defaultValue() { return {}; }
//         static void reduce(Value& value, const std::function<Value()>& nextValue) { ... }
//     };
template <class K>
concept PreferenceKey = requires(typename K::Value& value, const std::function<typename K::Value()>& next) {
    { K::defaultValue() } -> std::convertible_to<typename K::Value>;
    K::reduce(value, next);
};

// The preferences collected from a subtree. Copies share storage until written.
class PreferenceValues {
public:
    using Reduce = void (*)(detail::EquatableValue& accumulated, const detail::EquatableValue& next);

    // The key's value, or its default when no view in the subtree set it.
    template <PreferenceKey K> typename K::Value get() const {
        if (const auto* entry = find(detail::keyID<K>()))
            return entry->value.template get<typename K::Value>();
        return K::defaultValue();
    }
    template <PreferenceKey K> bool contains() const { return find(detail::keyID<K>()) != nullptr; }
    template <PreferenceKey K> void set(typename K::Value value) {
        setErased(detail::keyID<K>(), {detail::EquatableValue(std::move(value)), &reduceOf<K>});
    }
    template <PreferenceKey K> void remove() { removeErased(detail::keyID<K>()); }

    // Combines a later sibling's values into these.
    void merge(const PreferenceValues& next);
    bool isEmpty() const { return !storage_ || storage_->empty(); }
    // Stays the same while nothing in the values is replaced.
    const void* identity() const { return storage_.get(); }
    bool sameValue(detail::KeyID key, const PreferenceValues& other) const;

    struct Entry {
        detail::EquatableValue value;
        Reduce reduce = nullptr;
    };
    const Entry* find(detail::KeyID key) const;
    void setErased(detail::KeyID key, Entry entry);
    void removeErased(detail::KeyID key);

private:
    template <PreferenceKey K>
    static void reduceOf(detail::EquatableValue& accumulated, const detail::EquatableValue& next) {
        typename K::Value value = accumulated.get<typename K::Value>();
        const auto& nextValue = next.get<typename K::Value>();
        K::reduce(value, std::function<typename K::Value()>([&] { return nextValue; }));
        accumulated = detail::EquatableValue(std::move(value));
    }

    using Storage = std::map<detail::KeyID, Entry>;
    std::shared_ptr<const Storage> storage_;
};

} // namespace ui
