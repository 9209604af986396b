#pragma once

#include <concepts>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <utility>

namespace ui::detail {

// A value of any copyable type with its equality, for the layer's change checks. A type
// without == never equals another value, so a change check always sees it as new.
class EquatableValue {
public:
    EquatableValue() = default;
    template <class T>
    explicit EquatableValue(T value)
        : value_(std::make_shared<const T>(std::move(value)))
        , type_(&typeid(T))
        , equal_(&equalOf<T>)
        , comparable_(std::equality_comparable<T>) {}

    bool hasValue() const { return value_ != nullptr; }
    // Whether the held type has ==, so that equal values can be told from new ones.
    bool isComparable() const { return comparable_; }
    template <class T> const T& get() const { return *static_cast<const T*>(value_.get()); }
    template <class T> bool is() const { return type_ && *type_ == typeid(T); }
    const std::shared_ptr<const void>& pointer() const { return value_; }

    bool operator==(const EquatableValue& other) const {
        if (value_ == other.value_) return true;
        if (!value_ || !other.value_ || *type_ != *other.type_) return false;
        return equal_(value_.get(), other.value_.get());
    }

private:
    template <class T> static bool equalOf(const void* a, const void* b) {
        if constexpr (std::equality_comparable<T>)
            return *static_cast<const T*>(a) == *static_cast<const T*>(b);
        else
            return false;
    }

    std::shared_ptr<const void> value_;
    const std::type_info* type_ = nullptr;
    bool (*equal_)(const void*, const void*) = nullptr;
    bool comparable_ = false;
};

} // namespace ui::detail
