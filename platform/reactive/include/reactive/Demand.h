#pragma once

#include <compare>
#include <cstddef>
#include <limits>
#include <optional>

namespace reactive::Subscribers {

// How many values a subscriber asks for. Every publisher of this layer delivers each value to
// every live subscription whatever it asked for, as if it had asked for `unlimited`: all our
// subscribers want everything, and not counting keeps sending cheap and free of races. The type
// is here so that subscriptions and subscribers keep their usual shape.
class Demand {
public:
    static constexpr Demand unlimited() { return Demand(unlimitedValue); }
    static constexpr Demand none() { return Demand(0); }
    static constexpr Demand max(std::size_t count) {
        return Demand(count >= unlimitedValue ? unlimitedValue : count);
    }

    constexpr bool isUnlimited() const { return value_ == unlimitedValue; }
    // Empty when unlimited.
    constexpr std::optional<std::size_t> maxCount() const {
        if (isUnlimited()) return std::nullopt;
        return value_;
    }

    constexpr Demand operator+(Demand other) const {
        if (isUnlimited() || other.isUnlimited()) return unlimited();
        return max(value_ + other.value_ < value_ ? unlimitedValue : value_ + other.value_);
    }
    constexpr Demand& operator+=(Demand other) { return *this = *this + other; }

    constexpr bool operator==(const Demand&) const = default;
    constexpr auto operator<=>(const Demand&) const = default;

private:
    static constexpr std::size_t unlimitedValue = std::numeric_limits<std::size_t>::max();
    constexpr explicit Demand(std::size_t value)
        : value_(value) {}
    std::size_t value_;
};

} // namespace reactive::Subscribers
