#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>

namespace foundation {

class Any;

// The type an Any keeps for a value of type T: T decayed, except that C strings and string
// views become std::string, so that the value owns its text (a view would dangle once the
// value is delivered later, on another queue).
template <typename T>
using AnyStoredType = std::conditional_t<std::is_same_v<std::decay_t<T>, const char*> ||
                                             std::is_same_v<std::decay_t<T>, char*> ||
                                             std::is_same_v<std::decay_t<T>, std::string_view>,
                                         std::string, std::decay_t<T>>;

template <typename T>
concept AnyStorable = !std::same_as<std::remove_cvref_t<T>, Any> &&
                      std::copy_constructible<AnyStoredType<T>> && std::equality_comparable<AnyStoredType<T>>;

// A value of any copyable, equality-comparable type that keeps the exact type it was made from:
// an Any made from an int holds an int, never a long or a double. Immutable, so copies share
// the stored value. Two Anys are equal when both are empty, or when they hold the same type and
// equal values.
class Any {
public:
    Any() = default;

    // Implicit, so that user info reads as {{"key", 42}}. A null C string gives an empty Any.
    template <AnyStorable T> Any(T&& value) {
        using Stored = AnyStoredType<T>;
        if constexpr (std::is_pointer_v<std::remove_cvref_t<T>> && std::is_same_v<Stored, std::string>) {
            if (value == nullptr) return;
        }
        box_ = std::make_shared<const Box<Stored>>(Stored(std::forward<T>(value)));
    }

    bool has_value() const { return box_ != nullptr; }
    // The held type; typeid(void) when empty.
    std::type_index type() const { return box_ ? box_->type() : std::type_index(typeid(void)); }

    template <typename T> bool is() const { return box_ && box_->type() == typeid(std::remove_cvref_t<T>); }

    // The held value when it is exactly a T, else nullptr.
    template <typename T> const std::remove_cvref_t<T>* get() const {
        using U = std::remove_cvref_t<T>;
        if (!is<U>()) return nullptr;
        return &static_cast<const Box<U>&>(*box_).value;
    }

    // A member rather than a hidden friend: a friend would be found for containers of Any too
    // and make the implicit constructor's constraint depend on itself.
    bool operator==(const Any& other) const {
        if (!box_ || !other.box_) return !box_ && !other.box_;
        return box_->type() == other.box_->type() && box_->equals(*other.box_);
    }

private:
    struct BoxBase {
        virtual ~BoxBase() = default;
        virtual std::type_index type() const = 0;
        // Called only with a box of the same type.
        virtual bool equals(const BoxBase& other) const = 0;
    };

    template <typename T> struct Box final : BoxBase {
        explicit Box(T v)
            : value(std::move(v)) {}
        std::type_index type() const override { return typeid(T); }
        bool equals(const BoxBase& other) const override {
            return static_cast<bool>(value == static_cast<const Box&>(other).value);
        }
        T value;
    };

    std::shared_ptr<const BoxBase> box_;
};

} // namespace foundation
