#pragma once

#include "foundation/Any.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
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

    template <AnyHashableStorable T> AnyHashable(T&& value) {
        using Stored = AnyStoredType<T>;
        if constexpr (std::is_pointer_v<std::remove_cvref_t<T>> && std::is_same_v<Stored, std::string>) {
            if (value == nullptr) return;
        }
        box_ = std::make_shared<const Box<Stored>>(Stored(std::forward<T>(value)));
    }

    bool has_value() const { return box_ != nullptr; }
    std::type_index type() const { return box_ ? box_->type() : std::type_index(typeid(void)); }
    template <typename T> bool is() const { return box_ && box_->type() == typeid(std::remove_cvref_t<T>); }
    template <typename T> const std::remove_cvref_t<T>* get() const {
        using U = std::remove_cvref_t<T>;
        if (!is<U>()) return nullptr;
        return &static_cast<const Box<U>&>(*box_).value;
    }

    // The same value as an Any (for containers of untyped values).
    Any base() const { return box_ ? box_->toAny() : Any(); }

    std::size_t hash() const {
        if (!box_) return 0;
        const std::size_t h = box_->hash();
        return h ^ (box_->type().hash_code() + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }

    bool operator==(const AnyHashable& other) const {
        if (!box_ || !other.box_) return !box_ && !other.box_;
        return box_->type() == other.box_->type() && box_->equals(*other.box_);
    }

private:
    struct BoxBase {
        virtual ~BoxBase() = default;
        virtual std::type_index type() const = 0;
        virtual bool equals(const BoxBase& other) const = 0;
        virtual std::size_t hash() const = 0;
        virtual Any toAny() const = 0;
    };

    template <typename T> struct Box final : BoxBase {
        explicit Box(T v)
            : value(std::move(v)) {}
        std::type_index type() const override { return typeid(T); }
        bool equals(const BoxBase& other) const override {
            return static_cast<bool>(value == static_cast<const Box&>(other).value);
        }
        std::size_t hash() const override { return std::hash<T>{}(value); }
        Any toAny() const override { return Any(value); }
        T value;
    };

    std::shared_ptr<const BoxBase> box_;
};

} // namespace foundation

template <> struct std::hash<foundation::AnyHashable> {
    std::size_t operator()(const foundation::AnyHashable& value) const noexcept { return value.hash(); }
};
