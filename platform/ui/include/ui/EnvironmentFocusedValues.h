#pragma once

#include "ui/EnvironmentValues.h"
#include "ui/ViewEquatableValue.h"

#include <concepts>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

// A key of the values that focused views publish for commands and menus.
//
//     struct AlertContextFocusedValueKey { using Value = std::shared_ptr<AlertContext>; };
template <class K>
concept FocusedValueKey = requires {
    typename K::Value;
};

// The values published with focusedValue(): each key holds a value or nothing.
class FocusedValues {
public:
    template <FocusedValueKey K> std::optional<typename K::Value> get() const {
        auto it = values_.find(detail::keyID<K>());
        if (it == values_.end()) return std::nullopt;
        return it->second.template get<typename K::Value>();
    }
    template <FocusedValueKey K> void set(std::optional<typename K::Value> value) {
        if (value)
            values_[detail::keyID<K>()] = detail::EquatableValue(std::move(*value));
        else
            values_.erase(detail::keyID<K>());
    }
    // Values already here win over those merged in after them.
    void merge(const FocusedValues& next) {
        for (const auto& [key, value] : next.values_)
            values_.emplace(key, value);
    }
    bool operator==(const FocusedValues&) const = default;

private:
    std::map<detail::KeyID, detail::EquatableValue> values_;
};

// How focused values travel up the tree to the window: the first view in tree order that
// publishes a key wins.
struct FocusedValuesKey {
    using Value = FocusedValues;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) { value.merge(next()); }
};

// The values the focused window's views publish, in the environment of the program's commands
// (its host keeps them current). Views read them with ViewContext::focusedValue.
struct FocusedSceneValuesKey {
    using Value = FocusedValues;
    static Value defaultValue() { return {}; }
};

} // namespace ui
