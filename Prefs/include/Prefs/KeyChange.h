#pragma once

#include "Prefs/BaseChange.h"
#include "Prefs/Serializable.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"

#include <concepts>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace Prefs {

// A change of a typed key. A value that is missing, null or does not convert to Value reads as
// the key's default, so a removal, a prior notification's new value and an initial
// notification's old value all show the default.
template <Serializable Value> class KeyChange {
public:
    KeyChange(const BaseChange& change, const Value& defaultValue)
        : kind_(change.kind)
        , indexes_(change.indexes)
        , isPrior_(change.isPrior)
        , oldValue_(convert(change.oldValue, defaultValue))
        , newValue_(convert(change.newValue, defaultValue)) {}

    foundation::KeyValueChangeKind kind() const { return kind_; }
    const std::optional<std::vector<std::size_t>>& indexes() const { return indexes_; }
    bool isPrior() const { return isPrior_; }
    const Value& newValue() const { return newValue_; }
    const Value& oldValue() const { return oldValue_; }

    bool operator==(const KeyChange& other) const requires std::equality_comparable<Value> {
        return kind_ == other.kind_ && indexes_ == other.indexes_ && isPrior_ == other.isPrior_ &&
               newValue_ == other.newValue_ && oldValue_ == other.oldValue_;
    }

private:
    static Value convert(const foundation::PropertyList& object, const Value& defaultValue) {
        if (object.isAbsent() || object.isNull()) return defaultValue;
        if (auto value = toValue<Value>(object)) return *std::move(value);
        return defaultValue;
    }

    foundation::KeyValueChangeKind kind_;
    std::optional<std::vector<std::size_t>> indexes_;
    bool isPrior_;
    Value oldValue_;
    Value newValue_;
};

} // namespace Prefs
