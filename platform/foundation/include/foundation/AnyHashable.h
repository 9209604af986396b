#pragma once

#include "foundation/Any.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <typeindex>
#include <typeinfo>

namespace foundation {

class AnyHashable;

template <typename T>
concept AnyHashableStorable = !std::same_as<std::remove_cvref_t<T>, AnyHashable> &&
                              // Hashability first: it rules out library internals (tuple parts
                              // holding an AnyHashable) before copyability would recurse into them.
                              requires(const AnyStoredType<T>& v) {
                                  { std::hash<AnyStoredType<T>>{}(v) } -> std::convertible_to<std::size_t>;
                              } && AnyStorable<T>;

// A value of any hashable type that keeps its exact type, like Any: the literal 1 (an int)
// and true (a bool) are different values, and so are 1 and 1L. Usable as a key of hashed and
// ordered containers of mixed types. Equal when both hold the same type and equal values
// (two empty ones are equal); the hash is the held type's own hash mixed with its type.
class AnyHashable {
public:
    AnyHashable() = default;

    template <AnyHashableStorable T>
    AnyHashable(T&& value)
        : value_(std::forward<T>(value)) {
        if (value_.has_value()) hash_ = &hashOf<AnyStoredType<T>>;
    }

    bool has_value() const { return value_.has_value(); }
    std::type_index type() const { return value_.type(); }
    template <typename T> bool is() const { return value_.is<T>(); }
    template <typename T> const std::remove_cvref_t<T>* get() const { return value_.get<T>(); }

    // The same value as an Any (for containers of untyped values).
    const Any& base() const { return value_; }

    std::size_t hash() const {
        if (!hash_) return 0;
        const std::size_t h = hash_(value_);
        return h ^ (value_.type().hash_code() + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }

    bool operator==(const AnyHashable& other) const { return value_ == other.value_; }

private:
    template <typename T> static std::size_t hashOf(const Any& value) { return std::hash<T>{}(*value.get<T>()); }

    Any value_;
    std::size_t (*hash_)(const Any&) = nullptr;
};

} // namespace foundation

template <> struct std::hash<foundation::AnyHashable> {
    std::size_t operator()(const foundation::AnyHashable& value) const noexcept { return value.hash(); }
};
